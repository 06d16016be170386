#include <gtest/gtest.h>

#include "update/download_address.h"
#include "update/download_progress.h"

namespace {

TEST(DownloadAddress, TakesHostPortAndUnescapedPathOfPlainHttpOnly) {
    const auto address = update::ParseDownloadAddress("HTTP://127.0.0.1:47613/%E4%B8%8B%E8%BD%BD/a%20b.zip");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "127.0.0.1");
    EXPECT_EQ(address->port, 47613);
    EXPECT_EQ(address->path, "/下载/a b.zip");
    EXPECT_EQ(update::ParseDownloadAddress("http://update.example")->path, "/");
    EXPECT_EQ(update::ParseDownloadAddress("http://update.example/x")->port, 80);
    for (const char* refused : {"https://a/x", "ftp://a/x", "http://user@a/x", "http://[::1]/x", "http://a:0/x",
                                "http://a:65536/x", "http://a:/x", "http:///x", "http://a/x?y=1", "http://a/x#y",
                                "http://a/x y", "http://a/%zz", "http://a/%00", "http://a/%4", "file:///C:/x"}) {
        EXPECT_FALSE(update::ParseDownloadAddress(refused)) << refused;
    }
}

TEST(DownloadProgress, ShowsSizesPercentAndSpeedRoundedDown) {
    EXPECT_EQ(update::SizeText(1023), "1023 字节");
    EXPECT_EQ(update::SizeText(1024 + 1023), "1.9 KB");
    EXPECT_EQ(update::SizeText(5u << 20), "5.0 MB");
    EXPECT_EQ(update::PercentText(999, 1000), "99%");
    EXPECT_EQ(update::PercentText(5, 0), "0%");
    EXPECT_EQ(update::SpeedText(3u << 20, 2000), "1.5 MB/秒");
}

}  // namespace
