// Finding, checking and repairing ish files in a text.
#include "libs/ish/ish_decode.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace kestrum::ish {

namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::uint16_t Be16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

// The text's lines with their ends, control characters and terminal
// escape sequences (a coloured title) removed; empty lines are dropped.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\r') {
            if (!cur.empty()) lines.push_back(std::move(cur));
            cur.clear();
            continue;
        }
        if (c == 0x1B) {
            std::size_t j = i + 1;
            if (j < text.size() && text[j] == '[') {
                ++j;
                while (j < text.size() && text[j] >= 0x20 && text[j] <= 0x3F) ++j;
                if (j < text.size() && text[j] >= 0x40 && text[j] <= 0x7E) i = j;
            }
            continue;
        }
        if (c < 0x20 || c == 0x7F) continue;
        cur += static_cast<char>(c);
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    return lines;
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool IsTitle(std::string_view l) { return StartsWith(l, "<<< "); }
bool IsPartLine(std::string_view l) { return StartsWith(l, "<<< Part "); }

std::string DropBlanks(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c != ' ') out += c;
    }
    return out;
}

// The name in a title line "<<< NAME for OS ..." when the header's 8.3
// name is a shortening of it (its base a start of the name's part before
// the first dot, its extension a start of the part after the last);
// "" when it is not. A name in the title is only as good as the header's.
std::string TitleName(std::string_view title, const Header& h) {
    if (!IsTitle(title)) return {};
    const std::size_t end = title.rfind(" for ");
    if (end == std::string_view::npos || end <= 4) return {};
    const std::string name(title.substr(4, end - 4));
    if (name.size() > 255) return {};
    std::string base = h.shortName, ext;
    const std::size_t dot = h.shortName.find('.');
    if (dot != std::string::npos) {
        base = h.shortName.substr(0, dot);
        ext = h.shortName.substr(dot + 1);
    }
    const std::size_t first = name.find('.'), last = name.rfind('.');
    const std::string longBase = DropBlanks(name.substr(0, first));
    const std::string longExt = last == std::string::npos ? std::string() : DropBlanks(name.substr(last + 1));
    if (base.empty() != longBase.empty() || ext.empty() != longExt.empty()) return {};
    while (!base.empty() && base.back() == '_') base.pop_back();  // a character that did not fit
    while (!ext.empty() && ext.back() == '_') ext.pop_back();
    if (!StartsWith(longBase, base) || !StartsWith(longExt, ext)) return {};
    return name;
}

// One block: rows 1..L (data 1..L-1, the vertical check line L), each of
// L bytes (the sequence number and the data), and the diagonal check line.
class Block {
public:
    explicit Block(std::size_t l) : l_(l), cells_((l + 1) * l), present_(l + 1, false), diag_(l) {}

    std::uint8_t& At(std::size_t r, std::size_t c) { return cells_[r * l_ + c]; }
    bool Present(std::size_t r) const { return present_[r]; }
    bool Any() const { return any_; }

    void Store(std::size_t seq, const std::uint8_t* line) {
        any_ = true;
        if (seq <= l_) {
            std::copy(line, line + l_, cells_.begin() + static_cast<std::ptrdiff_t>(seq * l_));
            present_[seq] = true;
        } else {
            std::copy(line, line + l_, diag_.begin());
            hasDiag_ = true;
        }
    }
    bool Same(std::size_t seq, const std::uint8_t* line) {
        if (seq > l_) return hasDiag_ && std::equal(line, line + l_, diag_.begin());
        return present_[seq] && std::equal(line, line + l_, cells_.begin() + static_cast<std::ptrdiff_t>(seq * l_));
    }

    // Fills in the rows after the last data line of a short block (a
    // sequence number and zeros, as the check lines count them) and
    // rebuilds missing rows. Returns the data lines rebuilt, or -1 with
    // the missing line numbers when they cannot be.
    int Repair(std::size_t rows, std::vector<std::size_t>& missing) {
        for (std::size_t r = rows + 1; r < l_; ++r) SetRow(r);
        missing.clear();
        for (std::size_t r = 1; r <= rows; ++r) {
            if (!present_[r]) missing.push_back(r);
        }
        if (missing.empty()) return 0;
        if (missing.size() == 1 && present_[l_]) {
            SetRow(missing[0]);
            FillFromColumns(missing[0], 0);
            return 1;
        }
        std::vector<std::size_t> unknown = missing;
        if (!present_[l_]) unknown.push_back(l_);
        if (unknown.size() != 2 || !hasDiag_) return -1;
        SolveTwo(unknown[0], unknown[1]);
        return static_cast<int>(missing.size());
    }

private:
    void SetRow(std::size_t r) {
        std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(r * l_),
                  cells_.begin() + static_cast<std::ptrdiff_t>((r + 1) * l_), 0);
        At(r, 0) = static_cast<std::uint8_t>(r);
        present_[r] = true;
    }
    // Every column of rows 1..L sums to zero (but the sequence numbers).
    void FillFromColumns(std::size_t row, std::size_t column) {
        for (std::size_t c = 1; c < l_; ++c) {
            if (column != 0 && c != column) continue;
            unsigned sum = 0;
            for (std::size_t r = 1; r <= l_; ++r) {
                if (r != row) sum += At(r, c);
            }
            At(row, c) = static_cast<std::uint8_t>(0u - sum);
        }
    }
    // The diagonal check line's byte k (1..L-1) is the negated sum of the
    // cells (r, c) with (L - r + 1 + c) mod L = k - 1; byte L is lost
    // under the line's CRC and follows from the total of all cells.
    std::size_t ColumnOn(std::size_t r, std::size_t k) const { return (k + r - 2) % l_; }
    unsigned DiagonalSum(std::size_t k) const {
        if (k < l_) return diag_[k];
        unsigned sum = static_cast<unsigned>(l_ * (l_ + 1) / 2);
        for (std::size_t j = 1; j < l_; ++j) sum += diag_[j];
        return (0u - sum) & 0xFF;
    }
    // Two unknown rows a < b: a diagonal through a known cell of row a
    // gives row b's cell on it, that cell's column gives row a's, and so
    // on; L being prime, the steps of b - a reach every column.
    void SolveTwo(std::size_t a, std::size_t b) {
        SetRow(a);
        SetRow(b);
        const std::size_t step = (b - a) % l_;
        std::size_t ca = 0;
        for (std::size_t t = 0; t + 1 < l_; ++t) {
            const std::size_t k = (l_ - a + 1 + ca) % l_ + 1;
            const std::size_t cb = (ca + step) % l_;
            unsigned sum = DiagonalSum(k);
            for (std::size_t r = 1; r <= l_; ++r) {
                if (r != b) sum += At(r, ColumnOn(r, k));
            }
            At(b, cb) = static_cast<std::uint8_t>(0u - sum);
            FillFromColumns(a, cb);
            ca = cb;
        }
    }

    std::size_t l_;
    std::vector<std::uint8_t> cells_;
    std::vector<bool> present_;
    std::vector<std::uint8_t> diag_;
    bool hasDiag_ = false;
    bool any_ = false;
};

std::string Numbers(const std::vector<std::size_t>& v) {
    std::string s;
    for (std::size_t i = 0; i < v.size() && i < 8; ++i) s += (i ? " " : "") + std::to_string(v[i]);
    if (v.size() > 8) s += " ...";
    return s;
}

// Reads the blocks of the file whose header is f.header from lines[at]
// on; returns the line where reading stopped (a new title or header, or
// the end).
std::size_t ReadBody(const std::vector<std::string>& lines, std::size_t at, Found& f) {
    const Header& h = f.header;
    const Variant v = h.variant;
    const std::size_t n = LineBytes(v), l = n - 2, d = n - 3;
    const std::uint64_t size = h.DataSize();
    const std::uint64_t dataLines = (size + 2 + d - 1) / d;
    const std::uint64_t blocks = (dataLines + d - 1) / d;
    std::vector<std::uint8_t> stream;
    std::vector<std::uint8_t> buf(n);
    bool broken = false, stop = false;
    for (std::uint64_t b = 0; b < blocks && !stop; ++b) {
        Block blk(l);
        const std::size_t rows = static_cast<std::size_t>(std::min<std::uint64_t>(d, dataLines - b * d));
        std::size_t last = 0;
        for (; at < lines.size(); ++at) {
            const std::string& line = lines[at];
            Header other;
            if (IsTitle(line) || (ParseHeader(line, other) && other.raw != h.raw)) {
                stop = true;
                break;
            }
            if (!DecodeLine(v, line, buf.data()) || !LineSealed(buf.data(), n)) continue;
            const std::size_t seq = buf[0];
            std::size_t pos = 0;
            if (seq >= 1 && seq <= l) pos = seq;
            if (seq == l + 2) pos = l + 1;
            if (pos == 0) continue;
            if (pos <= last) {
                if (blk.Same(seq, buf.data())) continue;
                break;  // the next block's
            }
            blk.Store(seq, buf.data());
            last = pos;
            if (pos == l + 1) {
                ++at;
                break;
            }
        }
        if (!blk.Any()) {
            f.problems.push_back("ブロック " + std::to_string(b + 1) + "/" + std::to_string(blocks) + " から後がありません");
            broken = true;
            break;
        }
        std::vector<std::size_t> missing;
        const int fixed = blk.Repair(rows, missing);
        if (fixed < 0) {
            f.problems.push_back("ブロック " + std::to_string(b + 1) + " の " + std::to_string(missing.size()) +
                                 " 行が直せません (行 " + Numbers(missing) + ")");
            broken = true;
            continue;
        }
        f.repaired += fixed;
        if (broken) continue;
        for (std::size_t r = 1; r <= rows; ++r) {
            for (std::size_t c = 1; c <= d; ++c) stream.push_back(blk.At(r, c));
        }
    }
    if (!broken && stream.size() < size + 2) {
        f.problems.push_back("データが足りません");
        broken = true;
    }
    if (!broken) {
        const std::size_t s = static_cast<std::size_t>(size);
        const std::uint16_t want = static_cast<std::uint16_t>((stream[s] << 8) | stream[s + 1]);
        const std::uint16_t got = static_cast<std::uint16_t>(~Crc16(stream.data(), s));
        if (want != got) {
            f.problems.push_back("CRC が合いません");
            broken = true;
        }
        stream.resize(s);
    }
    f.complete = !broken;
    if (f.complete) f.data = std::move(stream);
    return at;
}

}  // namespace

std::uint32_t Header::Volumes() const {
    if (volume == 0 || volumeSize == 0) return 1;
    return static_cast<std::uint32_t>((std::uint64_t{size} + volumeSize - 1) / volumeSize);
}

std::uint32_t Header::DataSize() const {
    if (volume == 0) return size;
    if (volume < Volumes()) return volumeSize;
    return size - volumeSize * (Volumes() - 1);
}

bool ParseHeader(std::string_view line, Header& h) {
    if (line.empty() || (line[0] != '!' && line[0] != '#')) return false;
    const Variant form = line[0] == '!' ? Variant::kJis7 : Variant::kJis8;
    std::vector<std::uint8_t> b(LineBytes(form));
    if (!DecodeLine(form, line, b.data()) || !LineSealed(b.data(), b.size()) || b[0] != 0) return false;
    Header out;
    if (!VariantFromType(b[11], out.variant) || Le(b, 6, 2) != LineBytes(out.variant)) return false;
    out.volume = b[1];
    out.size = Le(b, 2, 4);
    std::string name;
    for (std::size_t i = 12; i < 20 && b[i] != ' ' && b[i] != 0; ++i) name += static_cast<char>(b[i]);
    std::string ext;
    for (std::size_t i = 20; i < 23 && b[i] != ' ' && b[i] != 0; ++i) ext += static_cast<char>(b[i]);
    out.shortName = ext.empty() ? name : name + "." + ext;
    out.os = b[24];
    out.flags = b[26];
    out.dosTime = Le(b, 27, 4);
    out.hasZone = (out.flags & 2) != 0;
    const std::uint32_t zone = Le(b, 31, 3);
    out.zone = static_cast<std::int32_t>(zone & 0x800000 ? zone | 0xFF000000u : zone);
    if (out.zone < -86400 || out.zone > 86400) out.hasZone = false;
    if (out.volume != 0) {
        out.fileCrc16 = Be16(b, 34);
        out.fileCrc32 = Le(b, 36, 4);
        out.volumeSize = Le(b, 40, 4);
        out.volumeCrc16 = Be16(b, 44);
        if (out.volumeSize == 0 || out.volumeSize > out.size || out.volume > out.Volumes() ||
            out.Volumes() > 255) {
            return false;
        }
    }
    out.raw = std::move(b);
    h = std::move(out);
    return true;
}

std::vector<Found> FindIsh(std::string_view text) {
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<Found> found;
    std::string title;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string& line = lines[i];
        if (IsTitle(line)) {
            if (!IsPartLine(line)) title = line;
            ++i;
            continue;
        }
        Header h;
        if (!ParseHeader(line, h)) {
            ++i;
            continue;
        }
        Found f;
        f.header = std::move(h);
        f.titleName = TitleName(title, f.header);
        title.clear();
        i = ReadBody(lines, i + 1, f);
        found.push_back(std::move(f));
    }
    return found;
}

std::vector<Joined> JoinVolumes(const std::vector<const Found*>& volumes) {
    using Key = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint16_t, std::uint32_t, std::uint32_t>;
    std::map<Key, std::vector<const Found*>> sets;
    std::vector<Key> order;
    for (const Found* f : volumes) {
        const Header& h = f->header;
        Key k{h.shortName, h.size, h.volumeSize, h.fileCrc16, h.fileCrc32, h.dosTime};
        auto& v = sets[k];
        if (v.empty()) {
            order.push_back(k);
            v.assign(h.Volumes() + 1, nullptr);
        }
        const Found*& slot = v[h.volume];
        if (!slot || (!slot->complete && f->complete)) slot = f;
    }
    std::vector<Joined> out;
    for (const Key& k : order) {
        const auto& v = sets[k];
        Joined j;
        const std::size_t count = v.size() - 1;
        for (std::size_t i = 1; i <= count; ++i) {
            if (!j.first && v[i]) j.first = v[i];
            const std::string which = "ボリューム " + std::to_string(i) + "/" + std::to_string(count);
            if (!v[i]) {
                j.problems.push_back(which + " がありません");
            } else if (!v[i]->complete) {
                j.problems.push_back(which + " が壊れています");
            }
        }
        if (j.problems.empty()) {
            for (std::size_t i = 1; i <= count; ++i) j.data.insert(j.data.end(), v[i]->data.begin(), v[i]->data.end());
            const Header& h = j.first->header;
            const std::uint16_t c16 = static_cast<std::uint16_t>(~Crc16(j.data.data(), j.data.size()));
            const std::uint32_t c32 = ~Crc32(j.data.data(), j.data.size());
            if (j.data.size() != h.size || c16 != h.fileCrc16 || c32 != h.fileCrc32) {
                j.problems.push_back("つないだファイルの CRC が合いません");
                j.data.clear();
            } else {
                j.complete = true;
            }
        }
        out.push_back(std::move(j));
    }
    return out;
}

}  // namespace kestrum::ish
