// dBASE III table engine: parsing, record buffers, locked appends, in-place edits and pack.
// Every length in the file is checked against the file's real size before it is used.
#include "dbf/dbf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>
#include <utility>

#include "base/codepage.h"
#include "dbf/dbfio.h"

namespace velk {

namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr char kTerminator = 0x0D;
constexpr char kEndMarker = 0x1A;

std::uint32_t u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}

std::uint32_t u32(std::string_view b, std::size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }

void put16(std::string& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

bool acceptedVersion(std::uint8_t v) {
  switch (v) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x83:
    case 0x8B:
    case 0x8C:
    case 0xF5:
      return true;
    default:
      return false;
  }
}

// Today's date as header bytes 1..3 (year - 1900, month, day).
void stampDate(std::string& header) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  header[1] = static_cast<char>(std::clamp(tm.tm_year, 0, 255));
  header[2] = static_cast<char>(tm.tm_mon + 1);
  header[3] = static_cast<char>(tm.tm_mday);
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

std::string_view trimBoth(std::string_view s) {
  s = trimRight(s);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\0')) s.remove_prefix(1);
  return s;
}

// Fixed-point text of value with the given decimals, or false when it is not finite or wider than width.
bool formatNumber(double value, int width, int decimals, std::string& out) {
  if (!std::isfinite(value)) return false;
  char buf[512];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) return false;
  std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  // A value that rounds to zero is written without a sign.
  if (!text.empty() && text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
    text.remove_prefix(1);
  if (static_cast<int>(text.size()) > width) return false;
  out.assign(static_cast<std::size_t>(width) - text.size(), ' ');
  out.append(text);
  return true;
}

}  // namespace

double parseDbfNumber(std::string_view text, bool* ok) {
  text = trimBoth(text);
  std::string buf(text);
  if (!buf.empty() && buf.front() == '+') buf.erase(0, 1);
  if (buf.find('.') == std::string::npos) std::replace(buf.begin(), buf.end(), ',', '.');
  double v = 0;
  auto res = std::from_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general);
  bool good = !buf.empty() && res.ec == std::errc() && res.ptr == buf.data() + buf.size() && std::isfinite(v);
  if (ok) *ok = good;
  return good ? v : 0.0;
}

DbfCodePage dbfCodePage(std::uint8_t ld) {
  switch (ld) {
    case 0x01:
    case 0x09:
    case 0x0B:
    case 0x0D:
    case 0x0F:
    case 0x11:
    case 0x15:
    case 0x18:
    case 0x19:
    case 0x1B:
      return DbfCodePage::Cp437;
    case 0x02:
    case 0x0A:
    case 0x0E:
    case 0x10:
    case 0x12:
    case 0x14:
    case 0x16:
    case 0x1A:
    case 0x1D:
    case 0x25:
    case 0x37:
      return DbfCodePage::Cp850;
    case 0x03:
    case 0x57:
    case 0x58:
    case 0x59:
      return DbfCodePage::Win1252;
    default:
      return DbfCodePage::Unknown;
  }
}

DbfTable::~DbfTable() { close(); }

DbfTable::DbfTable(DbfTable&& other) noexcept { *this = std::move(other); }

DbfTable& DbfTable::operator=(DbfTable&& other) noexcept {
  if (this != &other) {
    close();
    open_ = std::exchange(other.open_, false);
    readOnly_ = std::exchange(other.readOnly_, true);
    fd_ = std::exchange(other.fd_, -1);
    lockWaitMs_ = other.lockWaitMs_;
    path_ = std::move(other.path_);
    header_ = std::move(other.header_);
    fields_ = std::move(other.fields_);
    headerLength_ = std::exchange(other.headerLength_, 0);
    recordLength_ = std::exchange(other.recordLength_, 0);
    recordCount_ = std::exchange(other.recordCount_, 0);
    data_ = std::move(other.data_);
  }
  return *this;
}

void DbfTable::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  open_ = false;
  readOnly_ = true;
  header_.clear();
  fields_.clear();
  data_.clear();
  headerLength_ = recordLength_ = 0;
  recordCount_ = 0;
}

DbfStatus DbfTable::open(const std::string& path, bool readOnly) {
  close();
  path_ = path;
  int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  if (fd < 0) return dbfio::openError(path, errno);
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int err = errno;
    ::close(fd);
    return dbfio::openError(path, err);
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  DbfStatus st2 = parse(bytes, bytes.size());
  if (!st2) {
    ::close(fd);
    return st2;
  }
  fd_ = fd;
  readOnly_ = readOnly;
  open_ = true;
  return {};
}

DbfStatus DbfTable::openBytes(std::string_view bytes, const std::string& name) {
  close();
  path_ = name;
  DbfStatus st = parse(bytes, bytes.size());
  if (st) open_ = true;
  return st;
}

DbfStatus DbfTable::parse(std::string_view bytes, std::uint64_t fileSize) {
  auto refuse = [&](std::string_view reason) {
    return DbfStatus{path_ + oem(" ist keine dBASE-Datenbank. ") + oem(reason), 0};
  };
  if (fileSize < kHeaderSize) return refuse("Prolog ist kleiner als 32 Bytes");
  if (!acceptedVersion(static_cast<std::uint8_t>(bytes[0]))) return refuse("Versions-Byte ungültig");
  const std::uint32_t headerLength = u16(bytes, 8);
  const std::uint32_t recordLength = u16(bytes, 10);
  const std::uint32_t claimed = u32(bytes, 4);
  const std::uint32_t declaredFields = headerLength >= kHeaderSize ? (headerLength - kHeaderSize) / kDescriptorSize : 0;
  if (declaredFields == 0 || declaredFields > 255) return refuse("Zu viele Datenfelder");
  if (headerLength > fileSize) return refuse("Prolog ist länger als die Datei");

  std::vector<DbfField> fields;
  bool terminated = false;
  int offset = 1;
  for (std::size_t pos = kHeaderSize; pos < headerLength; pos += kDescriptorSize) {
    if (bytes[pos] == kTerminator) {
      terminated = true;
      break;
    }
    if (pos + kDescriptorSize > headerLength)
      return refuse(headerLength - pos == 1 ? "Feldliste ohne Abschluss (0x0D)" : "Feldbeschreibung unvollständig");
    DbfField f;
    std::string_view name = bytes.substr(pos, 11);
    f.name = std::string(name.substr(0, std::min(name.find('\0'), name.size())));
    f.type = upperAscii(bytes[pos + 11]);
    f.length = static_cast<std::uint8_t>(bytes[pos + 16]);
    f.decimals = static_cast<std::uint8_t>(bytes[pos + 17]);
    f.offset = offset;
    if (std::string_view("CNFLDM").find(f.type) == std::string_view::npos || f.type == '\0')
      return refuse("Feldtyp ungültig");
    if (f.length == 0) return refuse("Feldlänge ist 0");
    offset += f.length;
    fields.push_back(std::move(f));
  }
  if (!terminated) return refuse("Feldliste ohne Abschluss (0x0D)");
  if (fields.empty()) return refuse("Zu viele Datenfelder");
  if (recordLength == 0) return refuse("Satzlänge ist 0");
  if (recordLength != static_cast<std::uint32_t>(offset)) return refuse("Satzlänge passt nicht zu den Feldern");

  const std::uint64_t available = (fileSize - headerLength) / recordLength;
  const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(claimed, available));
  header_.assign(bytes.substr(0, headerLength));
  fields_ = std::move(fields);
  headerLength_ = static_cast<int>(headerLength);
  recordLength_ = static_cast<int>(recordLength);
  recordCount_ = count;
  data_.assign(bytes.substr(headerLength, static_cast<std::size_t>(count) * recordLength));
  return {};
}

void DbfTable::lastUpdate(int& year, int& month, int& day) const {
  year = month = day = 0;
  if (header_.size() < 4) return;
  year = 1900 + static_cast<std::uint8_t>(header_[1]);
  month = static_cast<std::uint8_t>(header_[2]);
  day = static_cast<std::uint8_t>(header_[3]);
}

const DbfField& DbfTable::field(int i) const {
  static const DbfField none{};
  if (i < 0 || i >= fieldCount()) return none;
  return fields_[static_cast<std::size_t>(i)];
}

int DbfTable::fieldIndex(std::string_view name) const {
  name = name.substr(0, 10);
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    std::string_view have = std::string_view(fields_[k].name).substr(0, 10);
    if (have.size() != name.size()) continue;
    bool same = true;
    for (std::size_t j = 0; j < name.size() && same; ++j) same = upperAscii(have[j]) == upperAscii(name[j]);
    if (same) return static_cast<int>(k);
  }
  return -1;
}

std::string_view DbfTable::record(std::uint32_t n) const {
  if (n < 1 || n > recordCount_) return {};
  return std::string_view(data_).substr(static_cast<std::size_t>(n - 1) * recordLength_, recordLength_);
}

bool DbfTable::isDeleted(std::uint32_t n) const {
  std::string_view r = record(n);
  return !r.empty() && r[0] == '*';
}

std::string_view DbfTable::fieldRaw(std::uint32_t n, int i) const {
  std::string_view r = record(n);
  if (r.empty() || i < 0 || i >= fieldCount()) return {};
  const DbfField& f = fields_[static_cast<std::size_t>(i)];
  return r.substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.length));
}

std::string DbfTable::fieldText(std::uint32_t n, int i) const {
  std::string_view raw = fieldRaw(n, i);
  if (raw.empty()) return {};
  switch (fields_[static_cast<std::size_t>(i)].type) {
    case 'N':
    case 'F':
    case 'L':
    case 'M':
      return std::string(trimBoth(raw));
    default:
      return std::string(trimRight(raw));
  }
}

bool DbfTable::fieldBool(std::uint32_t n, int i) const {
  std::string_view raw = trimBoth(fieldRaw(n, i));
  if (raw.empty() || fields_[static_cast<std::size_t>(i)].type != 'L') return false;
  return std::string_view("TtYyJj").find(raw[0]) != std::string_view::npos;
}

std::string DbfTable::blankRecord() const { return std::string(static_cast<std::size_t>(recordLength_), ' '); }

bool DbfTable::setFieldText(std::string& rec, int i, std::string_view text) const {
  if (i < 0 || i >= fieldCount() || rec.size() != static_cast<std::size_t>(recordLength_)) return false;
  const DbfField& f = fields_[static_cast<std::size_t>(i)];
  char* out = rec.data() + f.offset;
  const std::size_t len = static_cast<std::size_t>(f.length);
  switch (f.type) {
    case 'C': {
      std::size_t n = std::min(len, text.size());
      std::copy_n(text.data(), n, out);
      std::fill(out + n, out + len, ' ');
      return text.size() <= len;
    }
    case 'N':
    case 'F': {
      std::string_view t = trimBoth(text);
      if (t.empty()) {
        std::fill(out, out + len, ' ');
        return true;
      }
      bool ok = false;
      double v = parseDbfNumber(t, &ok);
      return setFieldNumber(rec, i, v) && ok;
    }
    case 'L': {
      std::string_view t = trimBoth(text);
      std::fill(out, out + len, ' ');
      if (t.empty()) return true;
      if (std::string_view("TtYyJj").find(t[0]) != std::string_view::npos) {
        out[0] = 'T';
        return true;
      }
      if (std::string_view("FfNn").find(t[0]) != std::string_view::npos) {
        out[0] = 'F';
        return true;
      }
      out[0] = '?';
      return false;
    }
    case 'D': {
      std::string_view t = trimBoth(text);
      std::fill(out, out + len, ' ');
      bool digits = t.size() == 8 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
      if (digits) std::copy_n(t.data(), std::min<std::size_t>(8, len), out);
      return digits || t.empty();
    }
    default:
      return false;
  }
}

bool DbfTable::setFieldNumber(std::string& rec, int i, double value) const {
  if (i < 0 || i >= fieldCount() || rec.size() != static_cast<std::size_t>(recordLength_)) return false;
  const DbfField& f = fields_[static_cast<std::size_t>(i)];
  if (f.type != 'N' && f.type != 'F') return false;
  std::string text;
  char* out = rec.data() + f.offset;
  if (!formatNumber(value, f.length, std::min(f.decimals, 15), text)) {
    std::fill(out, out + f.length, '*');
    return false;
  }
  std::copy(text.begin(), text.end(), out);
  return true;
}

bool DbfTable::setFieldBool(std::string& rec, int i, bool value) const {
  if (i < 0 || i >= fieldCount() || rec.size() != static_cast<std::size_t>(recordLength_)) return false;
  const DbfField& f = fields_[static_cast<std::size_t>(i)];
  if (f.type != 'L') return false;
  char* out = rec.data() + f.offset;
  std::fill(out, out + f.length, ' ');
  out[0] = value ? 'T' : 'F';
  return true;
}

DbfStatus DbfTable::requireWritable() const {
  if (!open_) return {oem("Keine Tabelle geöffnet."), 0};
  if (readOnly_ || fd_ < 0) return {oem("Tabelle ") + path_ + oem(" ist nur zum Lesen geöffnet."), 0};
  return {};
}

DbfStatus DbfTable::checkRecordBuffer(std::string_view rec) const {
  if (rec.size() != static_cast<std::size_t>(recordLength_))
    return {oem("Datensatz hat nicht die Satzlänge der Tabelle ") + path_ + oem("."), 0};
  return {};
}

DbfStatus DbfTable::lockFile() {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMs_);
  for (;;) {
    // Open-file-description locks conflict even between two descriptors of one process, and closing
    // some other descriptor of the file does not drop them; fall back to process locks where missing.
    int r = fcntl(fd_, F_OFD_SETLK, &fl);
    if (r != 0 && errno == EINVAL) r = fcntl(fd_, F_SETLK, &fl);
    if (r == 0) return {};
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EACCES)
      return {oem("Tabelle ") + path_ + oem(" kann nicht gesperrt werden."), errno};
    if (std::chrono::steady_clock::now() >= deadline)
      return {oem("Tabelle ") + path_ + oem(" ist von einem anderen Programm gesperrt."), errno};
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void DbfTable::unlockFile() {
  struct flock fl {};
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  if (fcntl(fd_, F_OFD_SETLK, &fl) != 0 && errno == EINVAL) fcntl(fd_, F_SETLK, &fl);
}

DbfStatus DbfTable::writeAt(std::uint64_t offset, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return dbfio::writeError(path_, n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

DbfStatus DbfTable::touchHeader(bool withCount) {
  stampDate(header_);
  if (withCount) put32(header_, 4, recordCount_);
  return writeAt(1, std::string_view(header_).substr(1, withCount ? 7 : 3));
}

// Under the lock: take over what other processes changed (appended records, the header's count) and
// refuse when the file was replaced or restructured behind our back.
DbfStatus DbfTable::syncFromDisk() {
  struct stat mine {
  }, there{};
  if (fstat(fd_, &mine) != 0) return dbfio::writeError(path_, errno);
  if (stat(path_.c_str(), &there) != 0 || there.st_ino != mine.st_ino || there.st_dev != mine.st_dev)
    return {oem("Tabelle ") + path_ + oem(" wurde inzwischen ersetzt; bitte neu öffnen."), 0};
  std::string head(kHeaderSize, '\0');
  ssize_t n = ::pread(fd_, head.data(), head.size(), 0);
  if (n != static_cast<ssize_t>(head.size()) || head[0] != header_[0] ||
      u16(head, 8) != static_cast<std::uint32_t>(headerLength_) ||
      u16(head, 10) != static_cast<std::uint32_t>(recordLength_))
    return {oem("Tabelle ") + path_ + oem(" wurde inzwischen verändert; bitte neu öffnen."), 0};
  const std::uint64_t size = static_cast<std::uint64_t>(mine.st_size);
  const std::uint64_t available =
      size >= static_cast<std::uint64_t>(headerLength_) ? (size - headerLength_) / recordLength_ : 0;
  const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(u32(head, 4), available));
  if (count < recordCount_) {
    data_.resize(static_cast<std::size_t>(count) * recordLength_);
  } else if (count > recordCount_) {
    const std::size_t have = data_.size();
    const std::size_t want = static_cast<std::size_t>(count) * recordLength_;
    data_.resize(want);
    std::size_t done = have;
    while (done < want) {
      ssize_t r = ::pread(fd_, data_.data() + done, want - done, static_cast<off_t>(headerLength_ + done));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      done += static_cast<std::size_t>(r);
    }
    if (done < want) {
      data_.resize(have);
      return dbfio::openError(path_, errno);
    }
  }
  recordCount_ = count;
  std::copy(head.begin() + 1, head.begin() + 8, header_.begin() + 1);
  return {};
}

DbfStatus DbfTable::append(std::string_view rec) { return appendRecords({std::string(rec)}); }

DbfStatus DbfTable::appendRecords(const std::vector<std::string>& recs) {
  if (DbfStatus st = requireWritable(); !st) return st;
  for (const std::string& r : recs)
    if (DbfStatus st = checkRecordBuffer(r); !st) return st;
  if (recs.empty()) return {};
  if (DbfStatus st = lockFile(); !st) return st;
  DbfStatus st = syncFromDisk();
  if (st && static_cast<std::uint64_t>(recordCount_) + recs.size() > 0xFFFFFFFFull)
    st = {oem("Tabelle ") + path_ + oem(" ist voll."), 0};
  if (!st) {
    unlockFile();
    return st;
  }
  std::string block;
  block.reserve(recs.size() * static_cast<std::size_t>(recordLength_) + 1);
  for (const std::string& r : recs) {
    block.append(r);
    if (block[block.size() - r.size()] != '*') block[block.size() - r.size()] = ' ';
  }
  block.push_back(kEndMarker);
  // The records and the end marker first; only then the count that promises them.
  const std::uint64_t at =
      static_cast<std::uint64_t>(headerLength_) + static_cast<std::uint64_t>(recordCount_) * recordLength_;
  st = writeAt(at, block);
  if (st) {
    const std::uint32_t oldCount = recordCount_;
    recordCount_ += static_cast<std::uint32_t>(recs.size());
    st = touchHeader(true);
    if (st) {
      data_.append(block, 0, block.size() - 1);
    } else {
      recordCount_ = oldCount;
      put32(header_, 4, oldCount);
    }
  }
  unlockFile();
  return st;
}

DbfStatus DbfTable::writeRecord(std::uint32_t n, std::string_view rec) {
  if (DbfStatus st = requireWritable(); !st) return st;
  if (DbfStatus st = checkRecordBuffer(rec); !st) return st;
  if (n < 1 || n > recordCount_) return {oem("Datensatz ") + std::to_string(n) + oem(" existiert nicht."), 0};
  std::string buf(rec);
  if (buf[0] != '*') buf[0] = ' ';
  const std::size_t at = static_cast<std::size_t>(n - 1) * recordLength_;
  if (DbfStatus st = writeAt(static_cast<std::uint64_t>(headerLength_) + at, buf); !st) return st;
  std::copy(buf.begin(), buf.end(), data_.begin() + static_cast<std::ptrdiff_t>(at));
  return touchHeader(false);
}

DbfStatus DbfTable::setDeleted(std::uint32_t n, bool deleted) {
  if (DbfStatus st = requireWritable(); !st) return st;
  if (n < 1 || n > recordCount_) return {oem("Datensatz ") + std::to_string(n) + oem(" existiert nicht."), 0};
  const std::size_t at = static_cast<std::size_t>(n - 1) * recordLength_;
  const char flag = deleted ? '*' : ' ';
  if (DbfStatus st = writeAt(static_cast<std::uint64_t>(headerLength_) + at, std::string_view(&flag, 1)); !st)
    return st;
  data_[at] = flag;
  return touchHeader(false);
}

DbfStatus DbfTable::pack() {
  if (DbfStatus st = requireWritable(); !st) return st;
  if (DbfStatus st = lockFile(); !st) return st;
  DbfStatus st = syncFromDisk();
  if (!st) {
    unlockFile();
    return st;
  }
  std::string image = header_;
  std::uint32_t kept = 0;
  image.reserve(image.size() + data_.size() + 1);
  for (std::uint32_t n = 1; n <= recordCount_; ++n) {
    std::string_view r = record(n);
    if (r[0] == '*') continue;
    image.append(r);
    ++kept;
  }
  image.push_back(kEndMarker);
  stampDate(image);
  put32(image, 4, kept);
  st = dbfio::replaceFile(path_, image);
  unlockFile();
  if (!st) return st;
  const std::string path = path_;
  const int wait = lockWaitMs_;
  st = open(path, false);
  lockWaitMs_ = wait;
  return st;
}

DbfStatus DbfTable::create(const std::string& path, const std::vector<DbfField>& fields, std::uint8_t languageDriver) {
  auto invalid = [&](const std::string& name) {
    return DbfStatus{oem("Ungültige Feldbeschreibung \"") + name + oem("\" für ") + path + oem("."), 0};
  };
  if (fields.empty() || fields.size() > 255) return {path + oem(": Zu viele Datenfelder"), 0};
  std::string image(kHeaderSize, '\0');
  int recordLength = 1;
  std::vector<std::string> names;
  for (const DbfField& f : fields) {
    std::string name;
    for (char c : f.name) name.push_back(upperAscii(c));
    bool nameOk = !name.empty() && name.size() <= 10 && name[0] >= 'A' && name[0] <= 'Z' &&
                  std::all_of(name.begin(), name.end(),
                              [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }) &&
                  std::find(names.begin(), names.end(), name) == names.end();
    bool shapeOk = false;
    switch (f.type) {
      case 'C':
        shapeOk = f.length >= 1 && f.length <= 254 && f.decimals == 0;
        break;
      case 'N':
        shapeOk = f.length >= 1 && f.length <= 20 && f.decimals >= 0 && f.decimals <= 15 &&
                  (f.decimals == 0 || f.decimals < f.length - 1);
        break;
      case 'L':
        shapeOk = f.length == 1 && f.decimals == 0;
        break;
      case 'D':
        shapeOk = f.length == 8 && f.decimals == 0;
        break;
      default:
        shapeOk = false;
        break;
    }
    if (!nameOk || !shapeOk) return invalid(f.name);
    names.push_back(name);
    std::string d(kDescriptorSize, '\0');
    std::copy(name.begin(), name.end(), d.begin());
    d[11] = f.type;
    d[16] = static_cast<char>(f.length);
    d[17] = static_cast<char>(f.decimals);
    image += d;
    recordLength += f.length;
  }
  image.push_back(kTerminator);
  image[0] = 0x03;
  stampDate(image);
  put32(image, 4, 0);
  put16(image, 8, static_cast<std::uint32_t>(image.size()));
  put16(image, 10, static_cast<std::uint32_t>(recordLength));
  image[29] = static_cast<char>(languageDriver);
  image.push_back(kEndMarker);
  return dbfio::replaceFile(path, image);
}

}  // namespace velk
