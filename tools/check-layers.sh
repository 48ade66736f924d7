#!/bin/sh
# Checks that the program's folders include one another only downwards:
#   common < config < fileops < shell | filer | desktop | archive | viewers < app
# (the folders of one rank never include each other), that no file outside
# the Win32 layer (a name without "_win") includes a Win32 header or a
# project header of the Win32 layer ("x/y_win.h"), and that no CORE list of
# a kestrum_layer() in CMakeLists.txt names a "_win" file, directly or
# through a variable set to one.
# Prints every offence as file:line and exits 1; exits 0 when there is none.
#   check-layers.sh [ROOT]    ROOT: the tree to check (default: this repository)
set -eu
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

files=$(for d in common config fileops shell filer desktop archive viewers app; do
  [ -d "$d" ] && find "$d" -type f \( -name '*.cpp' -o -name '*.h' \)
done | sort)

status=0
if [ -n "$files" ]; then
  # shellcheck disable=SC2086 # the names hold no blanks
  awk '
    BEGIN {
      rank["common"] = 0; rank["config"] = 1; rank["fileops"] = 2
      rank["shell"] = 3; rank["filer"] = 3; rank["desktop"] = 3; rank["archive"] = 3; rank["viewers"] = 3
      rank["app"] = 4
    }
    FNR == 1 {
      n = split(FILENAME, part, "/")
      top = part[1]
      win = part[n] ~ /_win\.(cpp|h)$/
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      match($0, /"[^"]*"/)
      inc = substr($0, RSTART + 1, RLENGTH - 2)
      if (split(inc, to, "/") > 1 && (to[1] in rank) && to[1] != top) {
        if (rank[to[1]] > rank[top]) {
          printf "%s:%d: #include \"%s\": %s/ is above %s/\n", FILENAME, FNR, inc, to[1], top
          bad++
        } else if (rank[to[1]] == rank[top]) {
          printf "%s:%d: #include \"%s\": %s/ and %s/ sit side by side and never include each other\n",
                 FILENAME, FNR, inc, to[1], top
          bad++
        }
      }
      if (!win && inc ~ /_win\.h$/) {
        printf "%s:%d: #include \"%s\" outside the Win32 layer (only *_win files may)\n", FILENAME, FNR, inc
        bad++
      }
    }
    !win && tolower($0) ~ /^[ \t]*#[ \t]*include[ \t]*<(windows|windowsx|winbase|winuser|wingdi|winreg|winnls|shellapi|shlobj|shlwapi|objbase|ole2|oleauto|commctrl|commdlg|winnetwk|psapi)\.h>/ {
      match($0, /<[^>]*>/)
      printf "%s:%d: #include %s outside the Win32 layer (only *_win files may)\n", FILENAME, FNR, substr($0, RSTART, RLENGTH)
      bad++
    }
    END { exit bad > 0 }
  ' $files || status=1
fi

if [ -f CMakeLists.txt ]; then
  # A variable counts as a Win32 source when a set() or list(APPEND) gives it
  # a "_win" file or another such variable; its uses in a CORE list are
  # reported with the line that set it.
  awk '
    function words(text) {
      sub(/#.*/, "", text)
      return split(text, word, /[ \t()]+/)
    }
    function winvalue(w,   v) {
      if (w ~ /_win\.(c|cpp|h)$/) return w
      if (match(w, /^\$\{[A-Za-z0-9_]+\}$/)) {
        v = substr(w, 3, length(w) - 3)
        if (v in winvar) return winvar[v]
      }
      return ""
    }
    !inlayer && !inset && /^[ \t]*(set[ \t]*\(|list[ \t]*\([ \t]*APPEND[ \t])/ {
      inset = 1; setvar = ""
      n = words($0)
      for (i = 1; i <= n; i++) {
        if (word[i] == "" || word[i] == "set" || word[i] == "list" || word[i] == "APPEND") continue
        if (setvar == "") { setvar = word[i]; continue }
        found = winvalue(word[i])
        if (found != "") { winvar[setvar] = found; winline[setvar] = FNR }
      }
      if ($0 ~ /\)[ \t]*(#.*)?$/) inset = 0
      next
    }
    inset {
      n = words($0)
      for (i = 1; i <= n; i++) {
        found = winvalue(word[i])
        if (found != "" && setvar != "") { winvar[setvar] = found; winline[setvar] = FNR }
      }
      if ($0 ~ /\)[ \t]*(#.*)?$/) inset = 0
      next
    }
    /kestrum_layer\(/ { inlayer = 1; list = "" }
    inlayer {
      n = words($0)
      for (i = 1; i <= n; i++) {
        if (word[i] ~ /^(CORE|WIN|DEPS|LIBS)$/) list = word[i]
        else if (list == "CORE" && word[i] ~ /_win\.(c|cpp|h)$/) {
          printf "CMakeLists.txt:%d: %s is in a CORE list\n", FNR, word[i]
          bad++
        } else if (list == "CORE" && (found = winvalue(word[i])) != "") {
          v = substr(word[i], 3, length(word[i]) - 3)
          printf "CMakeLists.txt:%d: %s brings %s (set at line %d) into a CORE list\n", FNR, word[i], found, winline[v]
          bad++
        }
      }
      if ($0 ~ /\)[ \t]*$/) inlayer = 0
    }
    END { exit bad > 0 }
  ' CMakeLists.txt || status=1
fi

if [ "$status" -ne 0 ]; then
  echo "check-layers: the layers common < config < fileops < shell|filer|desktop < app are broken (docs/architecture.md)" >&2
fi
exit "$status"
