#include "../Support/TemporaryFolder.hpp"
#include "Seal.hpp"

#include <gtest/gtest.h>

using namespace kelvo::platform;
using kelvo::testing::TemporaryFolder;
namespace fs = std::filesystem;

namespace {
class SealTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path bundle = folder / "Kelvo.app";

    void SetUp() override {
        folder.write("Kelvo.app/Contents/MacOS/Kelvo", "binary");
        fs::permissions(bundle / "Contents/MacOS/Kelvo", fs::perms::owner_all | fs::perms::group_read);
        folder.write("Kelvo.app/Contents/Info.plist", "<plist/>");
        folder.write("Kelvo.app/Contents/Resources/data/data.txt", "ㄋㄧˇ 你 -3\n");
        fs::create_directory_symlink("data", bundle / "Contents/Resources/current");
        ASSERT_TRUE(seal::sign(bundle).ok);
    }
};
} // namespace

TEST_F(SealTest, ChangedMissingAndExtraFilesFailByName) {
    folder.write("Kelvo.app/Contents/Info.plist", "<plist>changed</plist>");
    EXPECT_EQ(seal::verify(bundle).message, "changed file: Contents/Info.plist");
    ASSERT_TRUE(seal::sign(bundle).ok);

    fs::permissions(bundle / "Contents/MacOS/Kelvo", fs::perms::others_exec, fs::perm_options::add);
    EXPECT_EQ(seal::verify(bundle).message, "changed file: Contents/MacOS/Kelvo"); // the mode counts
    ASSERT_TRUE(seal::sign(bundle).ok);

    fs::remove(bundle / "Contents/Resources/data/data.txt");
    EXPECT_EQ(seal::verify(bundle).message, "missing file: Contents/Resources/data/data.txt");
    folder.write("Kelvo.app/Contents/Resources/data/data.txt", "ㄋㄧˇ 你 -3\n");
    EXPECT_TRUE(seal::verify(bundle).ok);

    folder.write("Kelvo.app/Contents/Resources/extra.txt", "");
    EXPECT_EQ(seal::verify(bundle).message, "extra file: Contents/Resources/extra.txt");
}

TEST_F(SealTest, LinksMustStayInsideTheBundle) {
    fs::create_symlink("/etc/passwd", bundle / "Contents/Resources/outside");
    EXPECT_EQ(seal::verify(bundle).message, "extra file: Contents/Resources/outside");
    EXPECT_EQ(seal::sign(bundle).message, "link leaves the bundle: Contents/Resources/outside");
    fs::remove(bundle / "Contents/Resources/outside");
    fs::create_symlink("../../../other", bundle / "Contents/Resources/up");
    EXPECT_FALSE(seal::sign(bundle).ok);
    fs::remove(bundle / "Contents/Resources/up");
    fs::remove(bundle / "Contents/Resources/current");
    fs::create_directory_symlink("../../../elsewhere", bundle / "Contents/Resources/current");
    EXPECT_EQ(seal::verify(bundle).message, "link leaves the bundle: Contents/Resources/current");
}

TEST_F(SealTest, AChainOfLinksIsFollowedToWhereItReallyLeads) {
    // Read as text, "root/../secret" names Contents/Resources/secret; but "root" is the bundle
    // itself, so the link leads to the folder above it.
    fs::create_directory_symlink("../..", bundle / "Contents/Resources/root");
    auto secret = folder.write("secret", "not the bundle's");
    fs::create_symlink("root/../secret", bundle / "Contents/Resources/escape");
    ASSERT_EQ(fs::canonical(bundle / "Contents/Resources/escape"), fs::canonical(secret));
    EXPECT_EQ(seal::sign(bundle).message, "link leaves the bundle: Contents/Resources/escape");

    fs::remove(bundle / "Contents/Resources/escape");
    fs::create_symlink("root/Contents/Resources/data/data.txt", bundle / "Contents/Resources/alias");
    fs::create_symlink("loop", bundle / "Contents/Resources/loop");
    EXPECT_EQ(seal::sign(bundle).message, "link leaves the bundle: Contents/Resources/loop");
    fs::remove(bundle / "Contents/Resources/loop");
    EXPECT_TRUE(seal::sign(bundle).ok); // a chain that stays inside is fine
    EXPECT_TRUE(seal::verify(bundle).ok);
}

TEST_F(SealTest, AMissingOrBrokenSealFails) {
    folder.write("Kelvo.app/" + std::string(seal::sealPath), "{");
    EXPECT_FALSE(seal::verify(bundle).ok);
    fs::remove(bundle / seal::sealPath);
    EXPECT_NE(seal::verify(bundle).message.find("missing seal"), std::string::npos);
}
