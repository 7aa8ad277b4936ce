#include "controls/lzrw.h"

#include <algorithm>
#include <array>

#include "controls/ctlerror.h"

namespace {

constexpr std::uint16_t kEmpty = 0xFFFF;
constexpr std::size_t kMaxDistance = 4095;
constexpr std::size_t kMaxCopy = 18;
constexpr std::size_t kMinRun = 16;
constexpr std::size_t kMaxRun = 4095;

std::uint32_t Hash(const std::uint8_t* b) {
  std::uint32_t h = static_cast<std::uint32_t>(b[0]) * 16u;
  h = h ^ b[1];
  h = h * 16u;
  h = h ^ b[2];
  h = h * 40543u;
  return (h >> 4) & 0xFFFu;
}

void PutWord(std::uint8_t* at, std::uint16_t w) {
  at[0] = static_cast<std::uint8_t>(w >> 8);
  at[1] = static_cast<std::uint8_t>(w & 0xFF);
}

std::size_t RunLength(const std::uint8_t* in, std::size_t p, std::size_t n) {
  std::size_t len = 1;
  while (p + len < n && in[p + len] == in[p] && len < kMaxRun) ++len;
  return len;
}

}  // namespace

int LZRWFindMatch(const std::uint8_t* input, std::size_t p, std::size_t n, std::uint16_t* table, std::size_t* q) {
  const std::uint32_t h = Hash(input + p);
  const std::uint16_t candidate = table[h];
  table[h] = static_cast<std::uint16_t>(p);
  if (candidate == kEmpty || p - candidate > kMaxDistance) return 0;
  std::size_t m = 0;
  while (m < kMaxCopy && p + m < n && input[p + m] == input[candidate + m]) ++m;
  if (m < 3) return 0;
  *q = candidate;
  return static_cast<int>(m);
}

std::size_t LZRWCompressBlock(std::span<const std::uint8_t> input, std::span<std::uint8_t> output) {
  const std::size_t n = input.size();
  if (n > kLzrwChunk || output.size() < n + kLzrwSlack) throw CtlInvalidOperation("LZRW Error!");
  std::array<std::uint16_t, 4096> table;
  table.fill(kEmpty);
  const std::uint8_t* in = input.data();
  std::uint8_t* out = output.data();

  out[0] = kLzrwCompressed;
  std::size_t control_at = 1;
  std::size_t op = 3;
  int items = 0;
  std::uint16_t control = 0;
  std::size_t p = 0;
  while (p < n && op <= n) {
    if (items == 16) {
      PutWord(out + control_at, control);
      control_at = op;
      op += 2;
      items = 0;
    }
    const std::size_t run = RunLength(in, p, n);
    std::size_t q = 0;
    int m = 0;
    if (run >= kMinRun) {
      const std::size_t extra = run - kMinRun;
      out[op] = 0;
      out[op + 1] = static_cast<std::uint8_t>(extra >> 8);
      out[op + 2] = static_cast<std::uint8_t>(extra & 0xFF);
      out[op + 3] = in[p];
      op += 4;
      p += run;
      control = static_cast<std::uint16_t>((control << 1) | 1);
    } else if (p + 3 <= n && (m = LZRWFindMatch(in, p, n, table.data(), &q)) > 0) {
      const std::size_t word = (p - q) * 16 + static_cast<std::size_t>(m - 3);
      PutWord(out + op, static_cast<std::uint16_t>(word));
      op += 2;
      p += static_cast<std::size_t>(m);
      control = static_cast<std::uint16_t>((control << 1) | 1);
    } else {
      out[op++] = in[p++];
      control = static_cast<std::uint16_t>(control << 1);
    }
    ++items;
  }
  control = static_cast<std::uint16_t>(static_cast<std::uint32_t>(control) << (16 - items));
  PutWord(out + control_at, control);
  if (op > n) {
    out[0] = kLzrwStored;
    std::copy(in, in + n, out + 1);
    return n + 1;
  }
  return op;
}

std::optional<std::size_t> LZRWDecompressBlock(std::span<const std::uint8_t> block, std::span<std::uint8_t> output) {
  const std::size_t b = block.size();
  const std::uint8_t* in = block.data();
  std::uint8_t* out = output.data();
  const std::size_t limit = output.size();
  if (b == 0) return 0;
  if (in[0] == kLzrwStored) {
    if (b - 1 > limit) return std::nullopt;
    std::copy(in + 1, in + b, out);
    return b - 1;
  }
  if (b <= 3) return 0;
  std::uint16_t control = static_cast<std::uint16_t>((in[1] << 8) | in[2]);
  int bits = 16;
  std::size_t ip = 3;
  std::size_t op = 0;
  while (ip < b) {
    if (bits == 0) {
      if (ip + 2 > b) return std::nullopt;
      control = static_cast<std::uint16_t>((in[ip] << 8) | in[ip + 1]);
      ip += 2;
      bits = 16;
      if (ip == b) break;
    }
    if (control & 0x8000) {
      if (ip + 2 > b) return std::nullopt;
      const std::size_t d = static_cast<std::size_t>(in[ip]) * 16 + (in[ip + 1] >> 4);
      if (d != 0) {
        const std::size_t len = (in[ip + 1] & 15u) + 3;
        if (d > op || len > limit - op) return std::nullopt;
        for (std::size_t k = 0; k < len; ++k, ++op) out[op] = out[op - d];
        ip += 2;
      } else {
        if (ip + 4 > b) return std::nullopt;
        const std::size_t len = static_cast<std::size_t>(in[ip + 1]) * 256 + in[ip + 2] + 16;
        if (len > limit - op) return std::nullopt;
        std::fill(out + op, out + op + len, in[ip + 3]);
        op += len;
        ip += 4;
      }
    } else {
      if (op >= limit) return std::nullopt;
      out[op++] = in[ip++];
    }
    control = static_cast<std::uint16_t>(control << 1);
    --bits;
  }
  return op;
}
