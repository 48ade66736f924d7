// The ish line codecs: one line of the text carries a fixed number of
// bytes (a sequence number, the data, a CRC), written as printable
// characters in one of four alphabets. jis7 uses 7-bit ASCII only; jis8
// adds half-width kana; shift_jis and non-kana write pairs of Shift-JIS
// double-byte characters (non-kana never writes a half-width kana). The
// checksums (CRC-CCITT for lines and files, CRC-32 for multi-volume sets)
// are here too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum::ish {

enum class Variant { kJis7, kJis8, kSjis, kNonKana };

// The type byte of the header for each variant and back (false when the
// byte names none).
std::uint8_t TypeByte(Variant v);
bool VariantFromType(std::uint8_t type, Variant& v);
// The bytes one line carries: sequence number, data, two CRC bytes.
std::size_t LineBytes(Variant v);
// Data bytes per line; also the data lines of a full block.
inline std::size_t DataBytes(Variant v) { return LineBytes(v) - 3; }
// The name the title line gives the variant ("jis7", "shift_jis" ...).
const char* VariantName(Variant v);
// The variant the header line of a file is written in (jis8 headers are
// jis8, every other one jis7).
inline Variant HeaderVariant(Variant v) { return v == Variant::kJis8 ? Variant::kJis8 : Variant::kJis7; }

// Writes LineBytes(v) bytes as one line of characters (no line end).
std::string EncodeLine(Variant v, const std::uint8_t* bytes);
// Reads one line into LineBytes(v) bytes; false when a character is not
// one the variant writes, a value is out of range or the line is short.
// Characters after the line's last are ignored.
bool DecodeLine(Variant v, std::string_view chars, std::uint8_t* bytes);

// CRC-CCITT (x^16+x^12+x^5+1, first bit the highest, start 0xFFFF), not
// inverted: pass the result on to continue.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0xFFFF);
// The CRC-32 of zip and PNG, not inverted: start 0xFFFFFFFF, invert at the end.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFF);
// A line's bytes end in the inverted CRC of the rest, high byte first.
void SealLine(std::uint8_t* bytes, std::size_t size);
bool LineSealed(const std::uint8_t* bytes, std::size_t size);

}  // namespace kestrum::ish
