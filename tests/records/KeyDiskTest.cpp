// The key disk: drive detection, the key file's bytes, reading it back and the password.
#include "records/KeyDisk.h"

#include "platform/FixedText.h"
#include "platform/Random.h"
#include "shell/Session.h"
#include "tests/support/WorkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace lorvenna {

namespace {

const std::string kKey("Keep the disk dry and labelled.\0", 32);

std::string descrambled(std::string bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ kKey[i % 32]);
    return bytes;
}

std::string scrambled(const std::string& plain) {
    return descrambled(plain);
}

// A 256-byte key file from its plain bytes (the rest zero).
std::string keyFile(const std::string& plainStart) {
    std::string plain = plainStart;
    plain.resize(256, '\0');
    return scrambled(plain);
}

class KeyDiskTest : public testing::Test {
protected:
    void SetUp() override {
        resetSession();
        seedRandom(1);
    }
    void setIdentity(const char* id, const char* password) {
        setText(session().student.studentId, id);
        setText(session().student.typedPassword, password);
    }
    WorkFolder work;
};

} // namespace

TEST_F(KeyDiskTest, DetectionCountsDrivesAndMedia) {
    struct Case {
        const char* name;
        std::vector<std::pair<char, bool>> drives; // letter, with medium
        KeyDiskCode result;
        char keyDrive;
    };
    const Case cases[] = {
        {"no drive", {}, KeyDiskCode::NoDrive, 0},
        {"one with medium", {{'E', true}}, KeyDiskCode::OneMedium, 'E'},
        {"one without medium", {{'E', false}}, KeyDiskCode::NoMedium, 0},
        {"empty and full", {{'E', false}, {'G', true}}, KeyDiskCode::OneMedium, 'G'},
        {"two with media", {{'F', true}, {'E', true}}, KeyDiskCode::SeveralMedia, 'F'},
    };
    for (const Case& c : cases) {
        WorkFolder folder;
        for (auto [letter, medium] : c.drives)
            folder.addDrive(letter, medium);
        resetSession();
        EXPECT_EQ(detectKeyDrive(session().student), c.result) << c.name;
        EXPECT_EQ(session().student.keyDrive, c.keyDrive) << c.name;
    }
}

TEST_F(KeyDiskTest, WrittenKeyFileHoldsLengthsTextsAndFillScrambled) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    setIdentity("Kim42", "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);

    const std::string file = work.read("drive-E/LORVENNA/KEY.GRD");
    ASSERT_EQ(file.size(), 256u);
    // Lengths 3 and 5, "Pw7", "Kim42", then the fill from the generator seeded with 1
    // (41, 18467, 6334, 26500, ...) plus 'K', all XORed with the scramble key.
    const unsigned char start[] = {0x48, 0x60, 0x35, 0x07, 0x17, 0x3F, 0x01,
                                   0x08, 0x14, 0x56, 0x1D, 0x1D, 0x62, 0xEF};
    for (std::size_t i = 0; i < sizeof start; ++i)
        EXPECT_EQ(static_cast<unsigned char>(file[i]), start[i]) << "byte " << i;

    // Every fill byte follows the generator; bytes at 31 modulo 32 are not scrambled.
    const std::string plain = descrambled(file);
    std::uint32_t state = 1;
    for (int i = 10; i < 256; ++i) {
        state = state * 214013u + 2531011u;
        const int random = static_cast<int>((state >> 16) & 0x7FFF);
        ASSERT_EQ(static_cast<unsigned char>(plain[i]), (random + 'K') & 0xFF) << "byte " << i;
    }
    EXPECT_EQ(file[31], plain[31]);
    EXPECT_EQ(file[255], plain[255]);
}

TEST_F(KeyDiskTest, KeyFileReadsBackAfterWriting) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    setIdentity("Kim42", "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    // A second registration replaces the key, even though the folder exists.
    setIdentity("Lee9", "Secret18");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);

    resetSession();
    session().student.keyDrive = 'E';
    ASSERT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);
    EXPECT_STREQ(session().student.keyId, "Lee9");
    EXPECT_STREQ(session().student.keyPassword, "Secret18");
    EXPECT_FALSE(work.exists("drive-E/TEMPTEMP.TMP"));
}

TEST_F(KeyDiskTest, LongestIdAndPasswordFitTheKey) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    const std::string id(58, 'a');
    const std::string password(18, 'b');
    setIdentity(id.c_str(), password.c_str());
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    resetSession();
    session().student.keyDrive = 'E';
    ASSERT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);
    EXPECT_EQ(std::string(session().student.keyId), id);
    EXPECT_EQ(std::string(session().student.keyPassword), password);
}

TEST_F(KeyDiskTest, MissingOrShortKeyFileIsUnregistered) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::NotRegistered);

    std::string file = keyFile(std::string("\x03\x02"
                                           "abcXY",
                                           7));
    file.resize(255);
    work.write("drive-E/LORVENNA/KEY.GRD", file, false);
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::NotRegistered);
}

TEST_F(KeyDiskTest, DamagedLengthsAreRefusedWithoutTouchingTheFields) {
    work.addDrive('E');
    struct Case {
        const char* name;
        std::string plain;
    };
    const Case cases[] = {
        {"negative password length", std::string("\xFF\x02"
                                                 "abcXY",
                                                 7)},
        {"negative ID length", std::string("\x03\x80"
                                           "abcXY",
                                           7)},
        // Registration never writes more than 18 and 58: no typed password could match.
        {"password of 19 bytes", std::string("\x13\x02") + std::string(21, 'p')},
        {"ID of 59 bytes", std::string("\x02\x3B") + std::string(61, 'i')},
        {"both at 127", std::string("\x7F\x7F") + std::string(254, 'z')},
        // A line break would split every export and listing the ID is written to.
        {"ID with CR LF", std::string("\x03\x07"
                                      "abcKim\r\n42")},
        {"password with an escape", std::string("\x03\x02"
                                                "a\x1B"
                                                "cXY")},
    };
    for (const Case& c : cases) {
        resetSession();
        session().student.keyDrive = 'E';
        setText(session().student.keyId, "kept");
        setText(session().student.keyPassword, "kept");
        work.write("drive-E/LORVENNA/KEY.GRD", keyFile(c.plain), false);
        EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::WrongPassword) << c.name;
        EXPECT_STREQ(session().student.keyId, "kept") << c.name;
        EXPECT_STREQ(session().student.keyPassword, "kept") << c.name;
    }
}

// A stick whose probe name, key or folder is a link: what the links point at stays as it was,
// and a key reached through one is no key.
TEST_F(KeyDiskTest, LinksOnTheStickAreNeitherFollowedNorEmptied) {
    namespace fsys = std::filesystem;
    const std::string root = work.addDrive('E');
    session().student.keyDrive = 'E';
    setIdentity("Kim42", "Pw7");
    ASSERT_EQ(writeKeyFile(session().student), KeyDiskCode::KeyWritten);
    work.write("outside/victim.txt", "precious", false);
    fsys::create_symlink(work.path() + "/outside/victim.txt", root + "/TEMPTEMP.TMP");
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);

    fsys::rename(root + "/LORVENNA/KEY.GRD", work.path() + "/outside/KEY.GRD");
    fsys::create_symlink(work.path() + "/outside/KEY.GRD", root + "/LORVENNA/KEY.GRD");
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::WrongPassword);

    fsys::remove_all(root + "/LORVENNA");
    fsys::create_symlink(work.path() + "/outside", root + "/LORVENNA");
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::NotRegistered);
    EXPECT_EQ(writeKeyFile(session().student), KeyDiskCode::WriteFailed);

    EXPECT_EQ(work.read("outside/victim.txt"), "precious");
    EXPECT_EQ(fsys::file_size(work.path() + "/outside/KEY.GRD"), 256u);
    EXPECT_TRUE(fsys::is_symlink(root + "/TEMPTEMP.TMP"));
}

TEST_F(KeyDiskTest, LengthsJustInsideTheFieldsAreRead) {
    work.addDrive('E');
    session().student.keyDrive = 'E';
    const std::string plain = std::string("\x12\x3A") + std::string(18, 'p') + std::string(58, 'i');
    work.write("drive-E/LORVENNA/KEY.GRD", keyFile(plain), false);
    ASSERT_EQ(readKeyFile(session().student), KeyDiskCode::KeyRead);
    EXPECT_EQ(std::string(session().student.keyPassword), std::string(18, 'p'));
    EXPECT_EQ(std::string(session().student.keyId), std::string(58, 'i'));
}

TEST_F(KeyDiskTest, WriteProtectedDiskIsReportedByReadingAndWriting) {
    const std::string root = work.addDrive('E');
    std::filesystem::permissions(root, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
    session().student.keyDrive = 'E';
    setIdentity("Kim42", "Pw7");
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::WriteFailed);
    EXPECT_EQ(writeKeyFile(session().student), KeyDiskCode::WriteFailed);
    EXPECT_FALSE(work.exists("drive-E/LORVENNA"));
}

TEST_F(KeyDiskTest, NoDriveLetterTouchesNothing) {
    session().student.keyDrive = 0;
    setIdentity("Kim42", "Pw7");
    EXPECT_EQ(readKeyFile(session().student), KeyDiskCode::NotRegistered);
    EXPECT_EQ(writeKeyFile(session().student), KeyDiskCode::WriteFailed);
    EXPECT_FALSE(work.exists("LORVENNA"));
    EXPECT_FALSE(work.exists("TEMPTEMP.TMP"));
}

TEST_F(KeyDiskTest, PasswordMatchesIgnoringLetterCase) {
    struct Case {
        const char* typed;
        const char* stored;
        KeyDiskCode result;
    };
    const Case cases[] = {
        {"Pw7", "Pw7", KeyDiskCode::PasswordRight},
        {"pW7", "Pw7", KeyDiskCode::PasswordRight},
        {"PW7", "pw7", KeyDiskCode::PasswordRight},
        {"Pw8", "Pw7", KeyDiskCode::WrongPassword},
        {"Pw", "Pw7", KeyDiskCode::WrongPassword},
        {"Pw77", "Pw7", KeyDiskCode::WrongPassword},
        {"", "Pw7", KeyDiskCode::WrongPassword},
        {"[", "{", KeyDiskCode::WrongPassword}, // not letters: no case to ignore
    };
    for (const Case& c : cases) {
        setText(session().student.typedPassword, c.typed);
        setText(session().student.keyPassword, c.stored);
        EXPECT_EQ(checkPassword(session().student), c.result) << c.typed << " / " << c.stored;
    }
}

TEST(KeyDisk, LettersAndDigitsOnly) {
    EXPECT_TRUE(isLettersAndDigits(""));
    EXPECT_TRUE(isLettersAndDigits("AZaz09Kim42"));
    for (const char* text : {"Kim 42", "Kim-42", "Kim_42", "Kim.", "\xE9t\xE9", "a\tb"})
        EXPECT_FALSE(isLettersAndDigits(text)) << text;
}

} // namespace lorvenna
