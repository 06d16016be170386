#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "update/archive.h"

namespace {

using update::UnpackError;
using Bytes = std::vector<std::uint8_t>;

constexpr unsigned long utf8Flag = 1u << 11;

struct Member {
    std::string name;  // UTF-8 unless flags say otherwise
    std::string content;
    int method = Z_DEFLATED;
    unsigned long flags = utf8Flag;
    unsigned long madeBy = 0;
    unsigned long externalAttributes = 0;
};

// An archive written by minizip's own writer into a temporary file, read back.
Bytes Zip(const std::vector<Member>& members) {
    const std::string path = testing::TempDir() + "archive_test_" + std::to_string(getpid()) + ".zip";
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    for (const Member& member : members) {
        zip_fileinfo info{};
        info.external_fa = member.externalAttributes;
        zipOpenNewFileInZip4_64(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, member.method,
                                Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr,
                                0, member.madeBy, member.flags, 0);
        zipWriteInFileInZip(zip, member.content.data(), static_cast<unsigned>(member.content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    std::ifstream in(path, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    return bytes;
}

// A staging folder in memory.
struct MemorySink final : update::ArchiveSink {
    std::vector<std::wstring> folders;
    std::map<std::wstring, std::string> files;
    std::wstring open;
    bool MakeFolder(const std::wstring& path) override {
        folders.push_back(path);
        return true;
    }
    bool StartFile(const std::wstring& path) override {
        open = path;
        return files.emplace(path, "").second;
    }
    bool Write(std::span<const std::uint8_t> bytes) override {
        files[open].append(bytes.begin(), bytes.end());
        return true;
    }
    bool FinishFile() override { return true; }
};

update::UnpackResult Unpack(const Bytes& archive, MemorySink& sink, const update::ArchiveLimits& limits = {}) {
    update::MemoryArchiveSource source(archive);
    return update::UnpackArchive(source, sink, limits);
}

TEST(UnpackArchive, PutsEveryFileInItsFolderByteForByte) {
    const std::string large(200000, 'x');
    const Bytes archive = Zip({{"墨舟.exe", "MZ new program", 0},
                               {"资源/", ""},
                               {"资源/图片/背景.jpg", large},
                               {"说明.txt", ""}});
    ASSERT_TRUE(update::LooksLikeZip(archive));
    MemorySink sink;
    const update::UnpackResult result = Unpack(archive, sink);
    EXPECT_EQ(result.error, UnpackError::none);
    EXPECT_EQ(result.files, (std::vector<std::wstring>{L"墨舟.exe", L"资源\\图片\\背景.jpg", L"说明.txt"}));
    EXPECT_EQ(sink.folders, (std::vector<std::wstring>{L"资源", L"资源\\图片"}));
    EXPECT_EQ(sink.files[L"墨舟.exe"], "MZ new program");
    EXPECT_EQ(sink.files[L"资源\\图片\\背景.jpg"], large);
    EXPECT_EQ(sink.files[L"说明.txt"], "");

    // The fuzzer starts from this archive: <build>/archive-seeds.
    const auto seeds = std::filesystem::read_symlink("/proc/self/exe").parent_path() / ".." / ".." / "archive-seeds";
    std::filesystem::create_directories(seeds);
    std::ofstream(seeds / "sample.zip", std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

TEST(UnpackArchive, RefusesTheWholeArchiveForOneEntryThatCouldLandElsewhere) {
    constexpr unsigned long madeOnUnix = 3 << 8;
    constexpr unsigned long unixLinkMode = 0120777ul << 16;
    const std::vector<std::vector<Member>> archives = {
        {{"../墨舟.exe", "x"}},
        {{"ok.txt", "x"}, {"资源/../../x.dll", "x"}},
        {{"/etc/x", "x"}},
        {{"C:\\Windows\\x.dll", "x"}},
        {{"CON.txt", "x"}},
        {{"\xd7\xca\xd4\xb4.txt", "x", Z_DEFLATED, 0}},  // GBK, no UTF-8 flag: code page unknown
        {{"bad\xff.txt", "x"}},
        {{"Read.txt", "x"}, {"READ.TXT", "y"}},
        {{"É.txt", "x"}, {"é.txt", "y"}},
        {{"Ж/", ""}, {"ж/", ""}},
        {{"ｄ.txt", "x"}, {"Ｄ.txt", "y"}},
        {{"link", "../../x", Z_DEFLATED, utf8Flag, madeOnUnix, unixLinkMode}},
    };
    for (const auto& members : archives) {
        MemorySink sink;
        EXPECT_EQ(Unpack(Zip(members), sink).error, UnpackError::unsafeEntry) << members.back().name;
        EXPECT_TRUE(sink.files.empty() && sink.folders.empty()) << members.back().name;
    }
}

TEST(UnpackArchive, RefusesMoreEntriesOrBytesThanAllowedBeforeWritingAnything) {
    const update::ArchiveLimits limits{.maxEntries = 2, .maxTotalBytes = 1000};
    MemorySink sink;
    EXPECT_EQ(Unpack(Zip({{"a", std::string(600, '0')}, {"b", std::string(401, '0')}}), sink, limits).error,
              UnpackError::tooLarge);
    EXPECT_EQ(Unpack(Zip({{"a", ""}, {"b", ""}, {"c", ""}}), sink, limits).error, UnpackError::tooLarge);
    EXPECT_TRUE(sink.files.empty());
    EXPECT_EQ(Unpack(Zip({{"a", std::string(600, '0')}, {"b", std::string(400, '0')}}), sink, limits).error,
              UnpackError::none);
}

TEST(UnpackArchive, RefusesDamageAndWhatIsNoArchive) {
    Bytes archive = Zip({{"a.txt", "stored content", 0}});
    const std::string stored = "stored content";
    auto at = std::search(archive.begin(), archive.end(), stored.begin(), stored.end());
    ASSERT_NE(at, archive.end());
    *at = 'S';
    MemorySink sink;
    EXPECT_EQ(Unpack(archive, sink).error, UnpackError::damaged);  // CRC

    const Bytes text = {'P', 'K', 3, 4, 'n', 'o', 't'};
    EXPECT_EQ(Unpack(text, sink).error, UnpackError::notAnArchive);
    const Bytes whole = Zip({{"a.txt", "content"}});
    EXPECT_NE(Unpack(Bytes(whole.begin(), whole.end() - 30), sink).error, UnpackError::none);
    EXPECT_FALSE(update::LooksLikeZip(Bytes{'M', 'Z', 0, 0}));
}

}  // namespace
