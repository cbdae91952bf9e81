// dBASE III single-key index files (.ndx): building one on a table field, and reading one back.
// The files are B-trees of 512-byte blocks that other dBASE tools can open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf.h"

namespace velk {

// The header block (block 0) of an index file.
struct NdxHeader {
  std::uint32_t rootBlock = 0;
  std::uint32_t totalBlocks = 0;  // blocks in the file, header included (= next free block)
  int keyLength = 0;
  int keysPerBlock = 0;
  int keyType = 0;      // 0 character, 1 numeric (N, F, D fields; D as Julian day number)
  int groupLength = 0;  // bytes of one key entry: child block, record number, key, padded to 4
  bool unique = false;
  std::string expression;  // the key expression: the field name
};

struct NdxEntry {
  std::string key;  // key bytes as stored (character keys blank-padded, numeric keys 8-byte doubles)
  std::uint32_t record = 0;
};

// Record numbers of all records (deleted ones included, as dBASE indexes them) in the order of an
// index on keyField: character keys by their bytes (the first 100), numeric keys by value, equal keys
// by record number. Empty when keyField cannot be indexed (L and M fields, invalid index).
std::vector<std::uint32_t> indexOrder(const DbfTable& table, int keyField);

// The index file image on keyField / the file itself (temp file + rename).
DbfStatus buildNdxImage(const DbfTable& table, int keyField, std::string& image);
DbfStatus buildNdx(const DbfTable& table, int keyField, const std::string& path);

// Reads an index file. Survives any bytes: every block is checked against the file before use, each
// block is visited at most once, and a damaged tree gives an error status, never a crash or a loop.
class NdxIndex {
 public:
  DbfStatus open(const std::string& path);
  DbfStatus openBytes(std::string_view bytes, const std::string& name);
  bool isOpen() const { return open_; }
  const NdxHeader& header() const { return header_; }
  bool isNumeric() const { return header_.keyType == 1; }

  // All leaf entries in key order (a walk of the tree from the root). On a damaged tree the status is
  // an error and out holds the entries read up to the damage.
  DbfStatus entries(std::vector<NdxEntry>& out) const;

  // The value of an 8-byte numeric key (0 for a key of another length).
  static double numericKey(std::string_view key);

 private:
  bool open_ = false;
  std::string name_;
  std::string bytes_;
  NdxHeader header_;
};

}  // namespace velk
