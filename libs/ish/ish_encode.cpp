// The ish encoder.
#include "libs/ish/ish_encode.h"

#include "libs/base/arc_path.h"

namespace kestrum::ish {

namespace {

const char* OsName(std::uint8_t os) {
    switch (os) {
        case kOsMsDos: return "MS-DOS";
        case kOsUnix: return "UNIX";
        case 0x41: return "Mac";
        default: return "OTHER";
    }
}

void CopyField(const std::string& part, std::uint8_t* out, std::size_t width) {
    std::size_t i = 0, at = 0;
    while (at < part.size() && i < width) {
        const std::size_t n = arc::SjisCharLen(part, at);
        if (part[at] == ' ') {
            at += n;
            continue;
        }
        if (i + n > width) {
            while (i < width) out[i++] = '_';
            return;
        }
        for (std::size_t k = 0; k < n; ++k) out[i++] = static_cast<std::uint8_t>(part[at + k]);
        at += n;
    }
    while (i < width) out[i++] = ' ';
}

}  // namespace

std::array<std::uint8_t, 11> ShortNameFields(const std::string& name) {
    std::array<std::uint8_t, 11> f{};
    std::size_t firstDot = std::string::npos, lastDot = std::string::npos;
    for (std::size_t i = 0; i < name.size(); i += arc::SjisCharLen(name, i)) {
        if (name[i] == '.') {
            if (firstDot == std::string::npos) firstDot = i;
            lastDot = i;
        }
    }
    CopyField(name.substr(0, firstDot), f.data(), 8);
    CopyField(lastDot == std::string::npos ? std::string() : name.substr(lastDot + 1), f.data() + 8, 3);
    return f;
}

std::uint64_t LineCount(Variant v, std::uint64_t size, int titleEvery) {
    const std::uint64_t d = DataBytes(v);
    const std::uint64_t dataLines = (size + 2 + d - 1) / d;
    const std::uint64_t blocks = (dataLines + d - 1) / d;
    std::uint64_t lines = dataLines + blocks * 2 + 4;  // and the title and three headers
    if (titleEvery > 1) lines += lines / static_cast<std::uint64_t>(titleEvery - 1);
    return lines + 1;
}

std::string EncodeIsh(const std::vector<std::uint8_t>& data, const EncodeOptions& o) {
    const Variant v = o.variant;
    const std::size_t n = LineBytes(v), l = n - 2, d = n - 3;
    const std::uint64_t total = LineCount(v, data.size(), o.titleEvery);

    std::string text;
    std::uint64_t lineNo = 0;
    auto put = [&](const std::string& line) {
        text += line;
        text += o.lineEnd;
        ++lineNo;
        if (o.titleEvery > 0 && (lineNo + 1) % static_cast<std::uint64_t>(o.titleEvery) == 0) {
            text += "--- " + o.name + " (" + std::to_string(lineNo + 1) + "/" + std::to_string(total) + ") ---";
            text += o.lineEnd;
            ++lineNo;
        }
    };

    text += "<<< " + o.name + " for " + OsName(o.os) + " ( use " + VariantName(v) + " ish ) [ " +
            std::to_string(total) + " lines ] >>>" + o.lineEnd;
    lineNo = 1;

    const Variant hv = HeaderVariant(v);
    std::vector<std::uint8_t> h(LineBytes(hv), 0);
    const std::uint64_t size = data.size();
    for (int i = 0; i < 4; ++i) h[2 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    h[6] = static_cast<std::uint8_t>(n);
    h[8] = static_cast<std::uint8_t>(n - 1);
    h[10] = v == Variant::kJis8 ? 8 : 16;
    h[11] = TypeByte(v);
    const auto fields = ShortNameFields(o.name);
    std::copy(fields.begin(), fields.end(), h.begin() + 12);
    h[24] = o.os;
    h[25] = 1;
    h[26] = o.hasZone ? 3 : 1;
    for (int i = 0; i < 4; ++i) h[27 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(o.dosTime >> (8 * i));
    if (o.hasZone) {
        const auto zone = static_cast<std::uint32_t>(o.zone);
        for (int i = 0; i < 3; ++i) h[31 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(zone >> (8 * i));
    }
    SealLine(h.data(), h.size());
    const std::string header = EncodeLine(hv, h.data());
    for (int i = 0; i < 3; ++i) put(header);

    // The data, then its inverted CRC, high byte first.
    const std::uint16_t crc = static_cast<std::uint16_t>(~Crc16(data.data(), data.size()));
    const std::uint64_t streamSize = size + 2;
    auto streamAt = [&](std::uint64_t i) -> std::uint8_t {
        if (i < size) return data[static_cast<std::size_t>(i)];
        if (i == size) return static_cast<std::uint8_t>(crc >> 8);
        if (i == size + 1) return static_cast<std::uint8_t>(crc & 0xFF);
        return 0;
    };
    const std::uint64_t dataLines = (streamSize + d - 1) / d;
    std::vector<std::uint8_t> line(n);
    for (std::uint64_t first = 0; first < dataLines; first += d) {
        const std::size_t rows = static_cast<std::size_t>(std::min<std::uint64_t>(d, dataLines - first));
        std::vector<std::uint8_t> vertical(n, 0), diagonal(n, 0);
        // Rows after the last data line count as their number and zeros.
        auto addToDiagonal = [&](std::size_t r, const std::uint8_t* cells) {
            for (std::size_t c = 0; c < l; ++c) {
                const std::size_t k = (l - r + 1 + c) % l + 1;
                if (k < l) diagonal[k] = static_cast<std::uint8_t>(diagonal[k] - cells[c]);
            }
        };
        for (std::size_t r = 1; r < l; ++r) {
            std::fill(line.begin(), line.end(), 0);
            line[0] = static_cast<std::uint8_t>(r);
            if (r <= rows) {
                const std::uint64_t base = (first + r - 1) * d;
                for (std::size_t c = 1; c <= d; ++c) line[c] = streamAt(base + c - 1);
                for (std::size_t c = 1; c <= d; ++c) vertical[c] = static_cast<std::uint8_t>(vertical[c] - line[c]);
                SealLine(line.data(), n);
                put(EncodeLine(v, line.data()));
            }
            addToDiagonal(r, line.data());
        }
        vertical[0] = static_cast<std::uint8_t>(l);
        addToDiagonal(l, vertical.data());
        SealLine(vertical.data(), n);
        put(EncodeLine(v, vertical.data()));
        diagonal[0] = static_cast<std::uint8_t>(l + 2);
        SealLine(diagonal.data(), n);
        put(EncodeLine(v, diagonal.data()));
    }
    if (o.titleEvery > 0 && lineNo % static_cast<std::uint64_t>(o.titleEvery) != 0) {
        text += "--- " + o.name + " (" + std::to_string(lineNo + 1) + "/" + std::to_string(total) + ") ---";
        text += o.lineEnd;
    }
    return text;
}

}  // namespace kestrum::ish
