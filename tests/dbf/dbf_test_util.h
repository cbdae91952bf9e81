// Helpers for the table engine tests: hand-built table images and a small sample table on disk.
// Images are built byte by byte here, independently of the engine's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbf/dbf.h"

namespace velk::test {

struct RawField {
  std::string name;
  char type;
  int length;
  int decimals = 0;
};

// A dBASE III image: header, descriptors, 0x0D, the records (each given without its flag byte
// when it is one byte shorter than the record, else as is), then 0x1A.
inline std::string dbfImage(const std::vector<RawField>& fields, const std::vector<std::string>& records,
                            std::uint8_t version = 0x03, std::uint8_t languageDriver = 0x02) {
  std::string h(32, '\0');
  int recordLength = 1;
  for (const RawField& f : fields) recordLength += f.length;
  const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
  h[0] = static_cast<char>(version);
  h[1] = 99;
  h[2] = 12;
  h[3] = 31;
  const auto n = static_cast<std::uint32_t>(records.size());
  for (int k = 0; k < 4; ++k) h[4 + k] = static_cast<char>((n >> (8 * k)) & 0xFF);
  h[8] = static_cast<char>(headerLength & 0xFF);
  h[9] = static_cast<char>(headerLength >> 8);
  h[10] = static_cast<char>(recordLength & 0xFF);
  h[11] = static_cast<char>(recordLength >> 8);
  h[29] = static_cast<char>(languageDriver);
  for (const RawField& f : fields) {
    std::string d(32, '\0');
    d.replace(0, f.name.size(), f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.length);
    d[17] = static_cast<char>(f.decimals);
    h += d;
  }
  h += '\x0D';
  for (const std::string& r : records) {
    if (static_cast<int>(r.size()) == recordLength - 1) h += ' ';
    h += r;
  }
  h += '\x1A';
  return h;
}

// Text left-justified / right-justified in n bytes (never cut).
inline std::string padR(const std::string& s, std::size_t n) {
  return s.size() >= n ? s : s + std::string(n - s.size(), ' ');
}
inline std::string padL(const std::string& s, std::size_t n) {
  return s.size() >= n ? s : std::string(n - s.size(), ' ') + s;
}

inline void putU16(std::string& b, std::size_t at, unsigned v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void putU32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + static_cast<std::size_t>(k)] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

inline std::uint32_t getU32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(k)]);
  return v;
}

// The sample material-like table: NAME C10, E N8.1, OK L1, DATUM D8.
inline std::vector<DbfField> sampleFields() {
  return {{"NAME", 'C', 10, 0, 0}, {"E", 'N', 8, 1, 0}, {"OK", 'L', 1, 0, 0}, {"DATUM", 'D', 8, 0, 0}};
}

// A record of the sample table.
inline std::string sampleRecord(const DbfTable& t, const std::string& name, double e, bool ok,
                                const std::string& date = "20240131") {
  std::string r = t.blankRecord();
  t.setFieldText(r, 0, name);
  t.setFieldNumber(r, 1, e);
  t.setFieldBool(r, 2, ok);
  t.setFieldText(r, 3, date);
  return r;
}

}  // namespace velk::test
