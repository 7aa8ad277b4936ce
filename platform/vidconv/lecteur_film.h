// Reads the frames of a movie file: the best video stream's packets are
// indexed once when the file opens, and any frame can then be decoded by
// seeking to the key frame before it. Only movies such as the program writes
// open: a local AVI or MPEG file of one of its codecs, with frames of at most
// 4095 x 4095 pixels; anything else is refused before frames are allocated.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::vcv {

class MovieReader {
 public:
  MovieReader();
  ~MovieReader();
  MovieReader(const MovieReader&) = delete;
  MovieReader& operator=(const MovieReader&) = delete;

  // False, with the reader closed, for a file without a decodable video
  // stream or outside what the program writes.
  bool open(const std::string& path);
  void close();
  bool is_open() const;
  // Why the last open failed, in words that follow "cannot be read: ";
  // empty after a successful open.
  std::string error() const;

  int frame_count() const;
  int width() const;
  int height() const;
  double frame_rate() const;  // frames per second, 30 when the file says nothing
  // A stored pixel's width over its height as the file says (a disc movie's
  // pixels are not square: its frame is shown at 4:3); 1 when it says nothing.
  double sample_aspect() const;

  // Frame k (0-based) as rows of 0xFFRRGGBB pixels, width x height; false when
  // k is outside the movie or the frame cannot be decoded.
  bool read(int k, std::vector<std::uint32_t>& pixels);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::vcv
