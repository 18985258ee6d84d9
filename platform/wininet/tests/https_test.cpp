// https to a local TLS server whose self-signed certificate the test makes and trusts.
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "test_client.h"
#include "testsupport/http_server.h"
#include "testsupport/tls_certificate.h"
#include "wininet/trusted_roots.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpServerOptions;
using testsupport::HttpTestServer;
using namespace wininet_test;

class Https : public ::testing::Test {
 protected:
  Https() {
    dir_ = std::filesystem::temp_directory_path() / ("panlift-https-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    certificate_ = testsupport::MakeSelfSignedCertificate(dir_.string(), {"secure.example"});
    HttpServerOptions options;
    options.certificateFile = certificate_.certificateFile;
    options.privateKeyFile = certificate_.privateKeyFile;
    server_ = std::make_unique<HttpTestServer>(options);
    server_->Route("/secret", HttpResponse::Text("over tls"));
  }
  ~Https() override {
    wininet::ClearTrustedRoots();
    server_.reset();
    std::filesystem::remove_all(dir_);
  }
  std::string Aim(const char* host) { return std::string(host) + ":443=" + server_->HostPort(); }

  std::filesystem::path dir_;
  testsupport::TlsCertificate certificate_;
  std::unique_ptr<HttpTestServer> server_;
};

TEST_F(Https, WorksWhenTheCertificateIsTrusted) {
  ScopedEnv aim("PANLIFT_CONNECT_TO", Aim("secure.example"));
  ASSERT_TRUE(wininet::AddTrustedRoots(certificate_.certificateFile));
  Exchange e = Fetch("secure.example", INTERNET_DEFAULT_HTTPS_PORT,
                     Request("GET", "/secret", INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE));
  ASSERT_TRUE(e.sent) << e.sendError;
  EXPECT_EQ(e.body, "over tls");
  EXPECT_EQ(server_->Requests().at(0).Header("Host"), "secure.example");
}

TEST_F(Https, RefusesAnUntrustedOrMisnamedServer) {
  ScopedEnv aim("PANLIFT_CONNECT_TO", Aim("secure.example") + "," + Aim("other.example"));
  Exchange untrusted = Fetch("secure.example", 443, Request("GET", "/secret", INTERNET_FLAG_SECURE));
  EXPECT_FALSE(untrusted.sent);
  EXPECT_EQ(untrusted.sendError, ERROR_INTERNET_INVALID_CA);

  ASSERT_TRUE(wininet::AddTrustedRoots(certificate_.certificateFile));
  Exchange misnamed = Fetch("other.example", 443, Request("GET", "/secret", INTERNET_FLAG_SECURE));
  EXPECT_FALSE(misnamed.sent);
  EXPECT_EQ(misnamed.sendError, ERROR_INTERNET_SEC_CERT_CN_INVALID);
  Exchange allowed = Fetch("other.example", 443,
                           Request("GET", "/secret", INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID));
  EXPECT_TRUE(allowed.sent) << allowed.sendError;
  EXPECT_EQ(server_->RequestCount(), 1u);

  wininet::ClearTrustedRoots();
  Exchange forgotten = Fetch("secure.example", 443, Request("GET", "/secret", INTERNET_FLAG_SECURE));
  EXPECT_EQ(forgotten.sendError, ERROR_INTERNET_INVALID_CA);
}

TEST_F(Https, OnlyAFileWithACertificateAddsRoots) {
  EXPECT_FALSE(wininet::AddTrustedRoots((dir_ / "missing.pem").string()));
  EXPECT_FALSE(wininet::AddTrustedRoots(certificate_.privateKeyFile));
}

}  // namespace
