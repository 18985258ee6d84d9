// What the resolvers' tests share: MainWindow live, and the services' hosts aimed at one
// local server for the test's life, so that a link such as http://kuai.xunlei.com/s/a
// reaches the page the test routes at /s/a.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "runtime/values.h"
#include "testsupport/http_server.h"

namespace app::testing {

// The detail boxes' contents (GBK), in the order the resolvers write them.
struct DetailBoxes {
  std::string name, extension, size, md5;
  bool operator==(const DetailBoxes&) const = default;
};
void PrintTo(const DetailBoxes& boxes, std::ostream* out);  // as UTF-8

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class ResolverTest : public ::testing::Test {
 protected:
  ResolverTest();
  void SetUp() override;
  void TearDown() override;

  // The resolver run on `link` (ASCII); the address it returned (GBK).
  std::string Resolve(runtime::Text (*resolver)(const runtime::Text&), const std::string& link);
  DetailBoxes Boxes() const;
  void SetBoxes(const DetailBoxes& boxes);

  testsupport::HttpTestServer server_;
  ScopedEnvironment aim_;
};

// A sample share page of fixtures/ beside these tests.
std::string ReadFixture(const std::string& name);

}  // namespace app::testing
