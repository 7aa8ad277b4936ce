// LzrwCodec: the block codec over the 100000-byte four-symbol input of the
// stream vectors (generator seed 1, byte = (seed × 4) >> 32), cut into chunks
// as the chunked stream cuts it. Bytes per second count input bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "controls/lzrw.h"

namespace {

std::vector<std::uint8_t> FourSymbols() {
  std::vector<std::uint8_t> out(100000);
  std::uint32_t seed = 1;
  for (auto& b : out) {
    seed = seed * 134775813u + 1u;
    b = static_cast<std::uint8_t>((static_cast<std::uint64_t>(seed) * 4u) >> 32);
  }
  return out;
}

struct Blocks {
  std::vector<std::vector<std::uint8_t>> packed;
};

Blocks Pack(const std::vector<std::uint8_t>& in) {
  Blocks b;
  std::vector<std::uint8_t> out(kLzrwChunk + kLzrwSlack);
  for (std::size_t at = 0; at < in.size(); at += kLzrwChunk) {
    const std::size_t n = std::min(kLzrwChunk, in.size() - at);
    const std::size_t len = LZRWCompressBlock({in.data() + at, n}, out);
    b.packed.emplace_back(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(len));
  }
  return b;
}

void LzrwCodec_Compress(benchmark::State& state) {
  const auto in = FourSymbols();
  std::vector<std::uint8_t> out(kLzrwChunk + kLzrwSlack);
  for (auto _ : state) {
    for (std::size_t at = 0; at < in.size(); at += kLzrwChunk) {
      const std::size_t n = std::min(kLzrwChunk, in.size() - at);
      benchmark::DoNotOptimize(LZRWCompressBlock({in.data() + at, n}, out));
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.size()));
}
BENCHMARK(LzrwCodec_Compress)->Name("LzrwCodec/compress");

void LzrwCodec_Decompress(benchmark::State& state) {
  const auto in = FourSymbols();
  const Blocks blocks = Pack(in);
  std::vector<std::uint8_t> out(kLzrwChunk);
  for (auto _ : state) {
    for (const auto& block : blocks.packed) benchmark::DoNotOptimize(LZRWDecompressBlock(block, out));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.size()));
}
BENCHMARK(LzrwCodec_Decompress)->Name("LzrwCodec/decompress");

}  // namespace
