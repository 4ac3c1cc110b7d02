#pragma once

#include <memory>

namespace snapdesk {

// A snapshot picture. Shared by reference count between a record and the tile showing it;
// the last release frees the bitmap.
class Picture {
  public:
    virtual ~Picture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

using PicturePtr = std::shared_ptr<Picture>;

}  // namespace snapdesk
