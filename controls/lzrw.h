// LZRW1/KH block codec: literals, copies (distance 1..4095, length 3..18) and
// runs (16..4095 equal bytes) under 16-bit control words, or the input stored
// as is when packing does not pay. The output is fixed byte for byte: the
// program's stored pictures compress to the same blocks again. Plain C++ on
// byte spans, so it can be fuzzed and measured alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Input bytes of one block (every chunk of a stream but the last packs exactly this).
constexpr std::size_t kLzrwChunk = 32781;
// Room the compressor needs beyond the input: a control word and a run item
// can be written before the loop sees the output pass the input length.
constexpr std::size_t kLzrwSlack = 6;
// The longest block: a stored chunk.
constexpr std::size_t kLzrwMaxBlock = kLzrwChunk + 1;

constexpr std::uint8_t kLzrwCompressed = 0x40;
constexpr std::uint8_t kLzrwStored = 0x80;

// Compresses `input` (at most kLzrwChunk bytes) into `output`, which holds at
// least input.size() + kLzrwSlack bytes; returns the block length, at most
// input.size() + 1. Other sizes are a programming error: CtlInvalidOperation
// "LZRW Error!".
std::size_t LZRWCompressBlock(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);

// Decompresses one block into `output`; the output length, or nullopt when
// the block is corrupt: an item runs past the block's end, a copy reaches
// before the start of the output, or the output would pass output.size().
// Nothing outside either span is read or written.
std::optional<std::size_t> LZRWDecompressBlock(std::span<const std::uint8_t> block, std::span<std::uint8_t> output);

// The match finder: one candidate per hash, the table entry then becomes p.
// Call only with p + 3 <= n. Returns the match length (>= 3) and sets *q, or 0.
int LZRWFindMatch(const std::uint8_t* input, std::size_t p, std::size_t n, std::uint16_t* table, std::size_t* q);
