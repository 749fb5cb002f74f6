// A copy of the record buffers of some tables, kept aside. A report reads
// into the program's shared buffers; between its steps other windows use
// them too (a form holds its record there). Each run of reads therefore
// brings its own image in and takes it out again, leaving the buffers as it
// found them.
#pragma once

#include <vector>

namespace hk
{

class Table;

class BufferImage
{
  public:
    BufferImage() = default;
    // The buffers of `tables` as they are now.
    explicit BufferImage(std::vector<Table *> tables);

    void capture();     // from the buffers
    void apply() const; // into the buffers

  private:
    std::vector<Table *> tables_;
    std::vector<std::vector<unsigned char>> bytes_;
};

// For its scope the buffers hold `image`; at its end `image` takes what the
// scope left in them, and the buffers what they held before.
class BuffersLent
{
  public:
    explicit BuffersLent(BufferImage &image);
    ~BuffersLent();
    BuffersLent(const BuffersLent &) = delete;
    BuffersLent &operator=(const BuffersLent &) = delete;

  private:
    BufferImage &image_;
    BufferImage outside_;
};

} // namespace hk
