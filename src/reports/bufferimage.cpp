#include "reports/bufferimage.h"

#include "platform/data/table.h"

namespace hk
{

BufferImage::BufferImage(std::vector<Table *> tables) : tables_(std::move(tables))
{
    bytes_.resize(tables_.size());
    for (std::size_t i = 0; i < tables_.size(); ++i)
        bytes_[i].resize(tables_[i]->def().recordSize);
    capture();
}

void BufferImage::capture()
{
    for (std::size_t i = 0; i < tables_.size(); ++i)
        tables_[i]->def().copy(bytes_[i].data(), tables_[i]->buffer());
}

void BufferImage::apply() const
{
    for (std::size_t i = 0; i < tables_.size(); ++i)
        tables_[i]->def().copy(tables_[i]->buffer(), bytes_[i].data());
}

BuffersLent::BuffersLent(BufferImage &image) : image_(image), outside_(image)
{
    outside_.capture();
    image_.apply();
}

BuffersLent::~BuffersLent()
{
    image_.capture();
    outside_.apply();
}

} // namespace hk
