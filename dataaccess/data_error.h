#pragma once
#include <string>

namespace vk::data {

// A failure with the text the caller reads from ErrDescription.
struct DataError {
  std::wstring message;
};

}  // namespace vk::data
