/* Build-time generator of the Unicode to Shift-JIS (code page 932) table.
 * Runs on the build host: asks the host's iconv for the code page 932 form
 * of every character of the Basic Multilingual Plane and prints a two-level
 * table as C++ source: 256 page numbers, then the used pages of 256 entries.
 * An entry is the Shift-JIS code (one byte below 0x100, else lead * 256 +
 * trail) or 0 for a character that has none (U+0000 itself is handled by
 * the converter, not by the table). Usage: gen_unicode_sjis [OUTPUT]. */
#include <errno.h>
#include <iconv.h>
#include <stdio.h>
#include <string.h>

static unsigned short table[65536];

static int encode(iconv_t cd, unsigned cp, unsigned short *out) {
    unsigned char in[2] = {(unsigned char)(cp & 0xFF), (unsigned char)(cp >> 8)};
    unsigned char buf[8];
    char *ip = (char *)in, *op = (char *)buf;
    size_t il = 2, ol = sizeof buf;
    iconv(cd, NULL, NULL, NULL, NULL);
    if (iconv(cd, &ip, &il, &op, &ol) == (size_t)-1) return 0;
    const size_t n = sizeof buf - ol;
    if (n == 1) {
        *out = buf[0];
        return 1;
    }
    if (n == 2) {
        *out = (unsigned short)(buf[0] << 8 | buf[1]);
        return 1;
    }
    return 0;
}

int main(int argc, char **argv) {
    if (argc > 1 && !freopen(argv[1], "w", stdout)) {
        fprintf(stderr, "gen_unicode_sjis: cannot write %s\n", argv[1]);
        return 1;
    }
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == (iconv_t)-1) {
        fprintf(stderr, "gen_unicode_sjis: the host's iconv has no CP932 (%s)\n", strerror(errno));
        return 1;
    }
    unsigned count = 0;
    for (unsigned cp = 1; cp < 65536; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        unsigned short code = 0;
        if (encode(cd, cp, &code)) {
            table[cp] = code;
            ++count;
        }
    }
    iconv_close(cd);
    /* Sanity: ASCII, half-width katakana and a few known kanji. */
    if (count < 7000 || table['A'] != 'A' || table[0xFF71] != 0xB1 || table[0x3042] != 0x82A0 ||
        table[0x8868] != 0x955C || table[0x3013] != 0x81AC) {
        fprintf(stderr, "gen_unicode_sjis: the host's CP932 table looks wrong (%u entries)\n", count);
        return 1;
    }

    unsigned char pageOf[256];
    unsigned pages = 0;
    for (unsigned hi = 0; hi < 256; ++hi) {
        int used = 0;
        for (unsigned lo = 0; lo < 256 && !used; ++lo) used = table[hi << 8 | lo] != 0;
        pageOf[hi] = used ? (unsigned char)++pages : 0;
    }
    printf("// Generated at build time from the host's code page 932 converter.\n");
    printf("// Do not edit: see viewers/gen_unicode_sjis.c.\n");
    printf("#pragma once\n#include <cstdint>\nnamespace kestrum::unicode_sjis {\n");
    printf("inline constexpr std::uint8_t kPageOf[256] = {");
    for (unsigned hi = 0; hi < 256; ++hi) printf("%s%s%u", hi ? "," : "", hi % 32 ? "" : "\n", pageOf[hi]);
    printf("};\n");
    /* Page 0 is the empty page. */
    printf("inline constexpr std::uint16_t kPages[%u][256] = {\n{0}", pages + 1);
    for (unsigned hi = 0; hi < 256; ++hi) {
        if (!pageOf[hi]) continue;
        printf(",\n{");
        for (unsigned lo = 0; lo < 256; ++lo) printf("%s%u", lo ? (lo % 16 ? "," : ",\n") : "", table[hi << 8 | lo]);
        printf("}");
    }
    printf("};\n}  // namespace kestrum::unicode_sjis\n");
    return fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
