#include "win32/crypto_digest.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"
#include "win32/unique_handle.h"

namespace {

struct Md5Case {
  const char* name;
  std::string message;
  const char* digest;
};

class Md5Test : public testing::TestWithParam<Md5Case> {};

TEST_P(Md5Test, MatchesTheTestSuiteOfRfc1321) {
  CryptoDigest digest;
  EXPECT_EQ(digest.ofBytes(GetParam().message), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc1321, Md5Test,
    testing::Values(
        Md5Case{"Empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
        Md5Case{"A", "a", "0cc175b9c0f1b6a831c399e269772661"},
        Md5Case{"Abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
        Md5Case{"MessageDigest", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        Md5Case{"Alphabet", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        Md5Case{"AlphaNumeric",
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                "d174ab98d277d9f5a5611c2c9f419d9f"},
        Md5Case{"EightyDigits",
                "1234567890123456789012345678901234567890"
                "1234567890123456789012345678901234567890",
                "57edf4a22be3c955ac49da2e2107b67a"}),
    [](const testing::TestParamInfo<Md5Case>& info) { return std::string(info.param.name); });

TEST(CryptoDigest, KeyDependsOnEveryByteOfThePath) {
  CryptoDigest digest;
  const std::string upper = digest.ofBytes("C:\\a.txt");
  EXPECT_EQ(upper.size(), 32u);
  EXPECT_NE(upper, digest.ofBytes("c:\\a.txt"));
  // The path's GBK bytes, as they are: 運 is DF 5C, 錦 is E5 5C.
  EXPECT_EQ(digest.ofBytes("D:\\運動\\錦.txt"), "c910562aed0e1ac2e243c7eb62f617bc");
}

constexpr const char* kEmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";

// Content that differs at every position of a 1 MiB piece.
std::string contentOf(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 2654435761u) >> 13);
  return s;
}

TEST(CryptoDigest, FileDigestEqualsTheDigestOfItsContent) {
  TempDir dir;
  CryptoDigest digest;
  const std::size_t kMiB = 1024 * 1024;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, kMiB, 5 * kMiB + 17}) {
    const std::string path = dir.file("運錦_" + std::to_string(size) + ".bin");
    const std::string content = contentOf(size);
    writeFileBytes(path, content);
    EXPECT_EQ(digest.ofFile(path), digest.ofBytes(content)) << size << " bytes";
  }
}

TEST(CryptoDigest, UnreadableFileCountsAsEmpty) {
  TempDir dir;
  CryptoDigest digest;
  EXPECT_EQ(digest.ofFile(dir.file("missing.txt")), kEmptyDigest);
  EXPECT_EQ(digest.ofFile(dir.path()), kEmptyDigest);  // a directory

  const std::string path = dir.file("locked.txt");
  writeFileBytes(path, "content");
  UniqueFile exclusive(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(exclusive);
  EXPECT_EQ(digest.ofFile(path), kEmptyDigest);
  exclusive.reset();
  EXPECT_EQ(digest.ofFile(path), digest.ofBytes("content"));
}

TEST(CryptoDigest, FileBeingWrittenByAnotherProgramIsRead) {
  TempDir dir;
  CryptoDigest digest;
  const std::string path = dir.file("log.txt");
  writeFileBytes(path, "line 1\r\n");
  UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(digest.ofFile(path), digest.ofBytes("line 1\r\n"));
}

}  // namespace
