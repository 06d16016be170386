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
    // The same document in GBK: its names are other bytes and match nothing.
    const Bytes gbk = {'<', 0xd7, 0xee, 0xd0, 0xc2, 0xb0, 0xe6, 0xb1, 0xbe, '>', '<', 0xb0, 0xe6, 0xb1, 0xbe,
                       0xd0, 0xc5, 0xcf, 0xa2, ' ', 0xb0, 0xe6, 0xb1, 0xbe, 0xba, 0xc5, '=', '"', '9', '"', '/',
                       '>', '<', '/', 0xd7, 0xee, 0xd0, 0xc2, 0xb0, 0xe6, 0xb1, 0xbe, '>'};
    EXPECT_EQ(ReadManifest(gbk).version, "");
    EXPECT_EQ(ReadManifest(BytesOf("<其他><版本信息 版本号=\"9\"/></其他>")).version, "");
    EXPECT_EQ(ReadManifest(BytesOf("<最新版本><版本信息 版本号=\"9\"/>")).version, "");  // not well-formed
    EXPECT_EQ(ReadManifest(BytesOf("<最新版本/>")).notes, "");
    EXPECT_EQ(ReadManifest({}).version, "");
    Bytes cut = BytesOf(ManifestText("9") + std::string(1, '\0') + "<未完");  // the text ends at a zero byte
    EXPECT_EQ(ReadManifest(cut).version, "9");
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
    const Judgement offer = JudgeManifest(newer, signer.Sign(newer), signer.publicKey, 3.2);
    EXPECT_EQ(offer.verdict, Verdict::Offer);
    EXPECT_EQ(offer.manifest.fileTitle, "墨舟 3.3");

    EXPECT_EQ(JudgeManifest({}, {}, signer.publicKey, 3.2).verdict, Verdict::NoServer);
    auto verdictOf = [&](const Bytes& body) { return JudgeManifest(body, signer.Sign(body), signer.publicKey, 3.2).verdict; };
    EXPECT_EQ(verdictOf(BytesOf(ManifestText("3.2", download))), Verdict::NothingNew);
    EXPECT_EQ(verdictOf(BytesOf(ManifestText("3.3"))), Verdict::NothingNew);  // no download check
    EXPECT_EQ(verdictOf(BytesOf("<html>404</html>")), Verdict::NothingNew);
    Bytes large = newer;
    large.insert(large.end(), maxManifestBytes - large.size() + 1, ' ');
    EXPECT_EQ(verdictOf(large), Verdict::NothingNew);

    Bytes tampered = newer;
    tampered[tampered.size() - 20] ^= 1;
    EXPECT_EQ(JudgeManifest(tampered, signer.Sign(newer), signer.publicKey, 3.2).verdict, Verdict::NothingNew);
    EXPECT_EQ(JudgeManifest(newer, Signer().Sign(newer), signer.publicKey, 3.2).verdict, Verdict::NothingNew);
    Bytes truncated = signer.Sign(newer);
    truncated.pop_back();
    EXPECT_EQ(JudgeManifest(newer, truncated, signer.publicKey, 3.2).verdict, Verdict::NothingNew);
    Bytes padded = signer.Sign(newer);
    padded.resize(maxSignatureBytes + 1);
    EXPECT_EQ(JudgeManifest(newer, padded, signer.publicKey, 3.2).verdict, Verdict::NothingNew);
}

}  // namespace
