// dBASE III table engine: header, field descriptors, fixed-width records with the deletion flag.
// Opens, reads, appends, edits and packs .dbf files; text bytes are handed out raw, never converted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velk {

// Result of an engine operation. Errors are values: message is empty on success and otherwise a
// complete sentence in code page 850, ready for a message box. systemError carries errno when a
// system call failed (0 otherwise), so the caller can map it to its own I/O messages.
struct DbfStatus {
  std::string message;
  int systemError = 0;

  bool ok() const { return message.empty(); }
  explicit operator bool() const { return ok(); }
};

// One field descriptor. offset counts from the start of the record, whose byte 0 is the deletion flag.
struct DbfField {
  std::string name;  // raw bytes up to the first NUL (at most 10 in valid files)
  char type = 'C';   // 'C', 'N', 'F', 'L', 'D' or 'M'
  int length = 0;    // 1..255
  int decimals = 0;
  int offset = 0;
};

// Code pages a language-driver byte (header byte 29) names, as far as the program can convert them.
enum class DbfCodePage { Unknown, Cp437, Cp850, Win1252 };
DbfCodePage dbfCodePage(std::uint8_t languageDriver);

// The number an N or F field's text holds (blanks around it allowed, "," taken as the decimal point
// when there is no "."). Text that is not a finite number gives 0 and *ok = false.
double parseDbfNumber(std::string_view text, bool* ok = nullptr);

// Language-driver bytes the program writes.
inline constexpr std::uint8_t kDbfDriverCp850 = 0x02;
inline constexpr std::uint8_t kDbfDriverWin1252 = 0x03;

// A dBASE III table. The header, the descriptors and all records live in memory (bounded by the file
// size); writes go to the file first and then to memory, so what the object shows is what the file holds.
//
// Contracts:
// - Record numbers are 1-based (1..recordCount()), field indexes 0-based (0..fieldCount()-1).
//   Reading out of range gives empty text / false, writing out of range gives an error status.
// - The record count is the smaller of the header's count and the number of complete records the
//   file really holds, so a header that promises more is read to the file's end, never past it.
// - A record buffer is a std::string of exactly recordLength() bytes, byte 0 the deletion flag
//   (' ' valid, '*' deleted); blankRecord() makes one, the setField* members fill it.
// - Views returned by record()/fieldRaw() stay valid until the next call that changes the table.
// - The table is opened shared. append() holds an exclusive fcntl lock on the file for the one append
//   and writes the record and the 0x1A end marker before it raises the header's record count; edits in
//   place are direct writes; pack() replaces the file (temp file beside it + rename) and must not run
//   while another process writes the table. Every write updates the header's date of last update.
class DbfTable {
 public:
  DbfTable() = default;
  ~DbfTable();
  DbfTable(DbfTable&& other) noexcept;
  DbfTable& operator=(DbfTable&& other) noexcept;
  DbfTable(const DbfTable&) = delete;
  DbfTable& operator=(const DbfTable&) = delete;

  // Opens a file. readOnly opens it for reading only (every write then fails with a status).
  // A file that cannot be opened (for writing, unless readOnly) gives "Datei " + path +
  // " nicht gefunden oder kein Zugriffsrecht !" with systemError = errno (EACCES, EROFS, ENOENT, ...);
  // a file that is not a dBASE table gives path + " ist keine dBASE-Datenbank. " + the reason:
  // "Prolog ist kleiner als 32 Bytes", "Versions-Byte ungültig", "Zu viele Datenfelder" (0 or more
  // than 255), or for other defects "Prolog ist länger als die Datei", "Feldbeschreibung
  // unvollständig", "Feldliste ohne Abschluss (0x0D)", "Feldtyp ungültig", "Feldlänge ist 0",
  // "Satzlänge ist 0", "Satzlänge passt nicht zu den Feldern".
  DbfStatus open(const std::string& path, bool readOnly = false);
  // Parses table bytes held in memory (read-only; name is used in messages and as path()).
  DbfStatus openBytes(std::string_view bytes, const std::string& name);
  void close();
  bool isOpen() const { return open_; }
  bool isReadOnly() const { return readOnly_; }
  const std::string& path() const { return path_; }

  // Creates (or replaces, keeping the old permission bits) an empty dBASE III table (version 0x03).
  // Field names (letter, then letters, digits, "_"; at most 10) are upper-cased; types C (length
  // 1..254), N (1..20, decimals 0..15 and below length - 1), L (1), D (8); at most 255 fields.
  // The previous file stays intact until the new one is complete.
  static DbfStatus create(const std::string& path, const std::vector<DbfField>& fields,
                          std::uint8_t languageDriver = kDbfDriverCp850);

  std::uint8_t version() const { return header_.empty() ? 0 : static_cast<std::uint8_t>(header_[0]); }
  std::uint8_t languageDriver() const { return header_.size() > 29 ? static_cast<std::uint8_t>(header_[29]) : 0; }
  // Date of last update from the header: {year, month, day}; year = 1900 + byte 1.
  void lastUpdate(int& year, int& month, int& day) const;
  int headerLength() const { return headerLength_; }
  int recordLength() const { return recordLength_; }
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const std::vector<DbfField>& fields() const { return fields_; }
  const DbfField& field(int i) const;  // i must be valid; an invalid i gives an empty 'C' field
  // Index of the field with that name (case-insensitive, the name cut to 10 characters), or -1.
  int fieldIndex(std::string_view name) const;
  std::uint32_t recordCount() const { return recordCount_; }

  std::string_view record(std::uint32_t n) const;  // raw record bytes, flag included
  bool isDeleted(std::uint32_t n) const;
  std::string_view fieldRaw(std::uint32_t n, int i) const;  // the field's fixed-width bytes
  // The field as text: C and D without trailing blanks (and NULs); N, F, L and M (the memo block
  // number) without leading and trailing blanks. Raw bytes, no code-page conversion.
  std::string fieldText(std::uint32_t n, int i) const;
  // True for a logical field holding T, t, Y, y, J or j.
  bool fieldBool(std::uint32_t n, int i) const;

  std::string blankRecord() const;
  // Put a value into a record buffer (rec must be recordLength() bytes). Returns false when the value
  // does not fit the field; the field then holds a defined value: C cut to the field length, N/F
  // "*" fill for a number too wide and 0 for text that is not a number, L "?" for an unknown letter,
  // D blank for text that is not 8 digits. M fields are never written (false, unchanged).
  bool setFieldText(std::string& rec, int i, std::string_view text) const;
  bool setFieldNumber(std::string& rec, int i, double value) const;
  bool setFieldBool(std::string& rec, int i, bool value) const;

  // Appends one record / several records under one lock. A byte 0 other than '*' is stored as ' '.
  DbfStatus append(std::string_view rec);
  DbfStatus appendRecords(const std::vector<std::string>& recs);
  // Overwrites record n in place.
  DbfStatus writeRecord(std::uint32_t n, std::string_view rec);
  DbfStatus setDeleted(std::uint32_t n, bool deleted);
  // Rewrites the table without the deleted records (temp file beside it + rename) and reopens it.
  DbfStatus pack();

  // How long append() waits for the lock before it gives up (default 1000 ms; 0 = try once).
  void setLockWaitMs(int ms) { lockWaitMs_ = ms < 0 ? 0 : ms; }

 private:
  DbfStatus parse(std::string_view bytes, std::uint64_t fileSize);
  DbfStatus requireWritable() const;
  DbfStatus checkRecordBuffer(std::string_view rec) const;
  DbfStatus lockFile();
  void unlockFile();
  DbfStatus writeAt(std::uint64_t offset, std::string_view bytes);
  DbfStatus touchHeader(bool withCount);
  DbfStatus syncFromDisk();

  bool open_ = false;
  bool readOnly_ = true;
  int fd_ = -1;
  int lockWaitMs_ = 1000;
  std::string path_;
  std::string header_;  // headerLength_ bytes (header, descriptors, terminator, extra bytes)
  std::vector<DbfField> fields_;
  int headerLength_ = 0;
  int recordLength_ = 0;
  std::uint32_t recordCount_ = 0;
  std::string data_;  // recordCount_ * recordLength_ bytes
};

}  // namespace velk
