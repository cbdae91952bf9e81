// Table engine, writing side: locked appends and their write order, in-place edits, the deletion
// flag and pack, checked on the bytes of the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "dbf/dbf_test_util.h"
#include "support/fixture.h"

namespace velk {
namespace {

class DbfWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("mat.dbf");
    ASSERT_TRUE(DbfTable::create(path, test::sampleFields()));
    ASSERT_TRUE(table.open(path));
  }
  // Record length 1 + 10 + 8 + 1 + 8, header 32 + 4 * 32 + 1.
  static constexpr std::size_t kRec = 28;
  static constexpr std::size_t kHead = 161;

  test::TempDir dir;
  std::string path;
  DbfTable table;
};

TEST_F(DbfWrite, AppendWritesRecordsThenTheCountAndTheDate) {
  ASSERT_TRUE(table.append(test::sampleRecord(table, "Stahl", 206000, true)));
  ASSERT_TRUE(table.appendRecords(
      {test::sampleRecord(table, "Messing", 110000.26, false, ""), test::sampleRecord(table, "Bronze", -1, true)}));
  EXPECT_EQ(table.recordCount(), 3u);
  const std::string b = test::readFile(path);
  ASSERT_EQ(b.size(), kHead + 3 * kRec + 1);
  EXPECT_EQ(test::getU32(b, 4), 3u);
  EXPECT_EQ(b.back(), 0x1A);
  EXPECT_EQ(b.substr(kHead, kRec), " Stahl     206000.0T20240131");
  EXPECT_EQ(b.substr(kHead + kRec, kRec), " Messing   110000.3F        ");
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  EXPECT_EQ(b[1] * 10000 + b[2] * 100 + b[3], tm.tm_year * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday);

  DbfTable again;
  ASSERT_TRUE(again.open(path, true));
  EXPECT_EQ(again.recordCount(), 3u);
  EXPECT_EQ(again.fieldText(3, 1), "-1.0");
  // Buffers of the wrong length and writes through a read-only table are refused, file unchanged.
  EXPECT_FALSE(table.append("kurz"));
  EXPECT_FALSE(again.append(test::sampleRecord(table, "X", 1, true)));
  EXPECT_EQ(test::readFile(path), b);
}

TEST_F(DbfWrite, AFailedRecordWriteNeverRaisesTheCount) {
  ASSERT_TRUE(table.append(test::sampleRecord(table, "A", 1, true)));
  const std::string before = test::readFile(path);
  // The file may not grow: the record write fails (EFBIG) after at most part of the record.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = before.size();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  DbfStatus st = table.append(test::sampleRecord(table, "B", 2, true));
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(st.systemError, EFBIG);
  EXPECT_EQ(table.recordCount(), 1u);
  EXPECT_EQ(test::getU32(test::readFile(path), 4), 1u) << "the count promises no missing record";
  DbfTable again;
  ASSERT_TRUE(again.open(path, true));
  EXPECT_EQ(again.recordCount(), 1u);
  // The next append writes over the remains.
  ASSERT_TRUE(table.append(test::sampleRecord(table, "C", 3, true)));
  const std::string after = test::readFile(path);
  EXPECT_EQ(after.size(), kHead + 2 * kRec + 1);
  EXPECT_EQ(after.substr(kHead + kRec, 2), " C");
}

TEST_F(DbfWrite, AppendIsRefusedWhileAnotherHoldsTheLockAndReleasesItAfterwards) {
  int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(other, 0);
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(other, F_OFD_SETLK, &fl), 0);
  const std::string before = test::readFile(path);
  table.setLockWaitMs(0);
  DbfStatus st = table.append(test::sampleRecord(table, "Stahl", 1, true));
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(st.message, oem("Tabelle ") + path + oem(" ist von einem anderen Programm gesperrt."));
  EXPECT_EQ(table.recordCount(), 0u);
  EXPECT_EQ(test::readFile(path), before);

  fl.l_type = F_UNLCK;
  ASSERT_EQ(fcntl(other, F_OFD_SETLK, &fl), 0);
  ASSERT_TRUE(table.append(test::sampleRecord(table, "Stahl", 1, true)));
  fl.l_type = F_WRLCK;
  EXPECT_EQ(fcntl(other, F_OFD_SETLK, &fl), 0) << "the append lock is released at once";
  ::close(other);
}

TEST_F(DbfWrite, AppendTakesOverRecordsAnotherHandleAppended) {
  DbfTable second;
  ASSERT_TRUE(second.open(path));
  ASSERT_TRUE(table.append(test::sampleRecord(table, "Erster", 1, true)));
  ASSERT_TRUE(second.append(test::sampleRecord(second, "Zweiter", 2, true)));
  ASSERT_TRUE(table.append(test::sampleRecord(table, "Dritter", 3, true)));
  EXPECT_EQ(table.recordCount(), 3u);
  EXPECT_EQ(table.fieldText(2, 0), "Zweiter");
  DbfTable check;
  ASSERT_TRUE(check.open(path, true));
  ASSERT_EQ(check.recordCount(), 3u);
  EXPECT_EQ(check.fieldText(1, 0), "Erster");
  EXPECT_EQ(check.fieldText(3, 0), "Dritter");
}

TEST_F(DbfWrite, AppendToAFileThatPromisesMissingRecordsWritesAtItsRealEnd) {
  ASSERT_TRUE(table.appendRecords({test::sampleRecord(table, "A", 1, true), test::sampleRecord(table, "B", 2, true)}));
  table.close();
  // A crash left a count of 5 and half of a third record.
  std::string b = test::readFile(path);
  b.pop_back();
  b += " halb";
  test::putU32(b, 4, 5);
  test::writeFile(path, b);
  ASSERT_TRUE(table.open(path));
  EXPECT_EQ(table.recordCount(), 2u);
  ASSERT_TRUE(table.append(test::sampleRecord(table, "C", 3, true)));
  const std::string after = test::readFile(path);
  EXPECT_EQ(test::getU32(after, 4), 3u);
  EXPECT_EQ(after.substr(kHead + 2 * kRec, kRec + 1), test::sampleRecord(table, "C", 3, true) + "\x1A");
}

TEST_F(DbfWrite, AppendIsRefusedWhenTheFileWasReplacedMeanwhile) {
  ASSERT_TRUE(table.append(test::sampleRecord(table, "A", 1, true)));
  DbfTable other;
  ASSERT_TRUE(other.open(path));
  ASSERT_TRUE(other.pack());  // replaces the file
  DbfStatus st = table.append(test::sampleRecord(table, "B", 2, true));
  EXPECT_FALSE(st.ok()) << "the record would land in the orphaned old file";
  EXPECT_NE(st.message.find(oem("ersetzt")), std::string::npos);
}

TEST_F(DbfWrite, EditsInPlaceAndTheDeletionFlag) {
  ASSERT_TRUE(table.appendRecords({test::sampleRecord(table, "A", 1, true), test::sampleRecord(table, "B", 2, true)}));
  std::string r(table.record(2));
  table.setFieldText(r, 0, "Neu");
  ASSERT_TRUE(table.writeRecord(2, r));
  ASSERT_TRUE(table.setDeleted(1, true));
  EXPECT_TRUE(table.isDeleted(1));
  EXPECT_EQ(table.fieldText(2, 0), "Neu");
  const std::string b = test::readFile(path);
  EXPECT_EQ(b.size(), kHead + 2 * kRec + 1) << "edits in place never grow the file";
  EXPECT_EQ(b[kHead], '*');
  EXPECT_EQ(b.substr(kHead + kRec, 4), " Neu");
  ASSERT_TRUE(table.setDeleted(1, false));
  EXPECT_EQ(test::readFile(path)[kHead], ' ');
  // Writing a buffer whose flag byte is something else stores a valid record.
  r[0] = 'x';
  ASSERT_TRUE(table.writeRecord(2, r));
  EXPECT_FALSE(table.isDeleted(2));
  EXPECT_EQ(test::readFile(path)[kHead + kRec], ' ');
  EXPECT_FALSE(table.writeRecord(3, r));
  EXPECT_FALSE(table.writeRecord(0, r));
  EXPECT_FALSE(table.setDeleted(3, true));
}

TEST_F(DbfWrite, PackKeepsOrderPermissionsAndTheLink) {
  for (const char* n : {"A", "B", "C", "D", "E"}) ASSERT_TRUE(table.append(test::sampleRecord(table, n, 1, true)));
  ASSERT_TRUE(table.setDeleted(2, true));
  ASSERT_TRUE(table.setDeleted(4, true));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  const std::string link = dir.file("link.dbf");
  std::filesystem::create_symlink(path, link);
  DbfTable viaLink;
  ASSERT_TRUE(viaLink.open(link));
  ASSERT_TRUE(viaLink.pack());
  EXPECT_EQ(viaLink.recordCount(), 3u);
  EXPECT_EQ(viaLink.fieldText(2, 0), "C");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  const std::string b = test::readFile(path);
  EXPECT_EQ(b.size(), kHead + 3 * kRec + 1);
  EXPECT_EQ(test::getU32(b, 4), 3u);
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    files += !e.is_symlink() && e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1) << "no temporary file left behind";
  // The packed table stays usable for appends.
  ASSERT_TRUE(viaLink.append(test::sampleRecord(viaLink, "F", 1, true)));
  EXPECT_EQ(test::getU32(test::readFile(path), 4), 4u);
}

}  // namespace
}  // namespace velk
