// The LHA codecs: CRC-16, the static-Huffman decoder of -lh4- to -lh7-
// and the -lh5- encoder. Pure byte work, no files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrum::lzh {

// CRC-16 (reflected polynomial 0xA001, initial 0, no final xor).
std::uint16_t Crc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size);

// Window size in bits of a method: 12 for -lh4-, 13 -lh5-, 15 -lh6-,
// 16 -lh7-; 0 for a method without a window (-lh0-, -lhd-) or unknown.
int DictionaryBits(const char method[5]);

enum class DecodeStatus { kOk, kBrokenData, kSinkFailed };

// Receives decoded bytes in order; false stops the decoding.
using ByteSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Decodes `original` bytes from the packed data of a member with the given
// window. Never reads outside [in, in + inSize): a table, run or code that
// does not fit the bytes that exist ends the member as broken.
DecodeStatus Decode(int dictionaryBits, const std::uint8_t* in, std::size_t inSize, std::uint64_t original,
                    const ByteSink& sink);

// Packs data with the -lh5- method.
std::vector<std::uint8_t> EncodeLh5(const std::uint8_t* data, std::size_t size);

}  // namespace kestrum::lzh
