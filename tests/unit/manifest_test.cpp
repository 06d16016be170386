#include <gtest/gtest.h>
#include <sodium.h>

#include <string>
#include <vector>

#include "update/manifest.h"

namespace {

using namespace update;
using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

const std::string sha = std::string(64, 'a');

std::string ManifestText(std::string_view version, std::string_view extra = "") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><最新版本><其他/><版本信息 版本号=\"" + std::string(version) +
           "\" 升级说明=\"修正 若干问题\" 下载地址=\"http://127.0.0.1/墨舟.zip\" 文件标题=\"墨舟 3.3\" 文件名=\"墨舟.zip\" " +
           std::string(extra) + "/></最新版本>";
}

struct Signer {
    Bytes publicKey = Bytes(crypto_sign_PUBLICKEYBYTES);
    Bytes secretKey = Bytes(crypto_sign_SECRETKEYBYTES);
    Signer() {
        if (sodium_init() < 0) throw std::runtime_error("libsodium");
        crypto_sign_keypair(publicKey.data(), secretKey.data());
    }
    Bytes Sign(const Bytes& message) const {
        Bytes signature(crypto_sign_BYTES);
        crypto_sign_detached(signature.data(), nullptr, message.data(), message.size(), secretKey.data());
        return signature;
    }
};

TEST(ReadManifest, ReadsTheVersionInformationOfTheUtf8Document) {
    const Manifest read = ReadManifest(BytesOf(ManifestText("3.30", "sha256=\"" + sha + "\" size=\"12\"")));
    EXPECT_EQ(read.version, "3.30");
    EXPECT_EQ(read.notes, "修正 若干问题");
    EXPECT_EQ(read.downloadAddress, "http://127.0.0.1/墨舟.zip");
    EXPECT_EQ(read.fileTitle, "墨舟 3.3");
    EXPECT_EQ(read.fileName, "墨舟.zip");
    EXPECT_EQ(read.sha256, sha);
    EXPECT_EQ(read.size, "12");
}

TEST(ReadManifest, FindsNothingWhereTheNamesOrTheDocumentDoNotMatch) {
    // 最新版本/版本信息 in GBK: other bytes, so nothing matches.
    const std::string gbk = "<\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe><\xb0\xe6\xb1\xbe\xd0\xc5\xcf\xa2 \xb0\xe6\xb1\xbe"
                            "\xba\xc5=\"9\"/></\xd7\xee\xd0\xc2\xb0\xe6\xb1\xbe>";
    for (const std::string& document : {gbk, std::string("<其他><版本信息 版本号=\"9\"/></其他>"),
                                        std::string("<最新版本><版本信息 版本号=\"9\"/>"), std::string()}) {
        EXPECT_EQ(ReadManifest(BytesOf(document)).version, "") << document;
    }
    // The text ends at the first zero byte.
    EXPECT_EQ(ReadManifest(BytesOf(ManifestText("9") + std::string(1, '\0') + "<未完")).version, "9");
}

TEST(DownloadCheckOf, NeedsAFullDigestAndAPlainSizeWithinTheCap) {
    auto check = [](std::string digest, std::string size) {
        return DownloadCheckOf(Manifest{.sha256 = std::move(digest), .size = std::move(size)});
    };
    const auto good = check("00FF" + std::string(60, 'e'), "868352");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->sha256[1], 0xff);
    EXPECT_EQ(good->size, 868352u);
    EXPECT_TRUE(check(sha, std::to_string(maxDownloadBytes)));
    for (const char* size : {"", "0", "+5", " 5", "5 ", "1e3", "-1", "99999999999999999999999"}) {
        EXPECT_FALSE(check(sha, size)) << size;
    }
    EXPECT_FALSE(check(sha, std::to_string(maxDownloadBytes + 1)));
    EXPECT_FALSE(check(sha.substr(1), "5"));
    EXPECT_FALSE(check(sha.substr(1) + "g", "5"));
}

TEST(JudgeManifest, OffersOnlyASignedNewerVersionWithItsDownload) {
    const Signer signer;
    const std::string download = "sha256=\"" + sha + "\" size=\"9\"";
    const Bytes newer = BytesOf(ManifestText("3.3", download));
    auto judge = [&](const Bytes& body, const Bytes& signature) {
        return JudgeManifest(body, signature, signer.publicKey, 3.2);
    };
    const Judgement offer = judge(newer, signer.Sign(newer));
    EXPECT_EQ(offer.verdict, Verdict::Offer);
    EXPECT_EQ(offer.manifest.fileTitle, "墨舟 3.3");
    EXPECT_EQ(judge({}, {}).verdict, Verdict::NoServer);

    Bytes large = newer;
    large.insert(large.end(), maxManifestBytes - large.size() + 1, ' ');
    // Signed, but the same version, without a download check, an error page, too large.
    for (const Bytes& body : {BytesOf(ManifestText("3.2", download)), BytesOf(ManifestText("3.3")),
                              BytesOf("<html>404</html>"), large}) {
        EXPECT_EQ(judge(body, signer.Sign(body)).verdict, Verdict::NothingNew);
    }
    Bytes tampered = newer, truncated = signer.Sign(newer), padded = signer.Sign(newer);
    tampered[tampered.size() - 20] ^= 1;
    truncated.pop_back();
    padded.resize(maxSignatureBytes + 1);
    for (const auto& [body, signature] : {std::pair{tampered, signer.Sign(newer)}, std::pair{newer, Signer().Sign(newer)},
                                          std::pair{newer, truncated}, std::pair{newer, padded}}) {
        EXPECT_EQ(judge(body, signature).verdict, Verdict::NothingNew);
    }
}

}  // namespace
