#pragma once
// Copies of the sample databases in a scratch folder, reached through their own
// connection keys (the application key given, and "VkS"), for tests that change
// data. The keys point back where they were when the copies go.
#include <string>

namespace vk::test {

class TestDatabases {
 public:
  explicit TestDatabases(std::wstring applicationKey);
  ~TestDatabases();
  TestDatabases(const TestDatabases&) = delete;
  TestDatabases& operator=(const TestDatabases&) = delete;

  const std::wstring& applicationKey() const { return applicationKey_; }
  // The file of the copy a key names (the application key or "VkS").
  std::wstring PathOf(const std::wstring& key) const;
  // Runs SQL text on one of the copies through the data-access component; false
  // (with the component's reason in `error`) when it refuses.
  bool Sql(const std::wstring& key, const std::wstring& sql, std::wstring* error = nullptr) const;

 private:
  std::wstring applicationKey_;
  std::wstring folder_;
  std::wstring savedSecurityPath_;
};

}  // namespace vk::test
