// Change history, drawing information and linked documents of a spring.
// Plain records; the input file stores them and the documentation dialogs edit them.
#pragma once

#include <array>
#include <string>

#include "base/numfmt.h"

namespace velk {

struct ChangeEntry {
  std::string designation;  // "Änderungstext", 20 characters
  std::string date;         // 10 characters
  std::string editor;       // short name, 5 characters
  std::string description;  // any length; a line break is a CR (possibly followed by LF)
};

struct FreeText {
  Real x = 0, y = 0, h = 0, phi = 0;
  std::string text;  // 80 characters
};

struct DrawingInfo {
  std::string creationDate, author;             // row "Bearb."
  std::string checkDate, checker;               // row "Gepr."
  std::string standardsDate, standardsChecker;  // row "Norm"
  std::string releaseDate, releaser;            // row titled with the release-field text
  std::string replaces, replacedBy;             // "Ersatz für", "Ersetzt durch" (15 each)
  int freeTextCount = 0;                        // 0 .. 8
  std::array<FreeText, 8> freeTexts;
};

struct LinkedDocument {
  std::string program = "NOTEPAD.EXE";  // 50 characters
  std::string file;                     // 50 characters
};

constexpr int kMaxChangeEntries = 25;
constexpr int kMaxFreeTexts = 8;
constexpr int kLinkedDocuments = 5;

struct Documentation {
  int changeCount = 0;  // 0 .. 25; slots beyond the count keep their old texts
  std::array<ChangeEntry, kMaxChangeEntries> changes;
  DrawingInfo info;
  std::array<LinkedDocument, kLinkedDocuments> documents;
};

// Start values: no change entries, creation/check/standards-check dates = today.
void initDocumentation(Documentation& d, const std::string& today);

}  // namespace velk
