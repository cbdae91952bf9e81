// The menu caption tables of the user-interface languages: table A (menus and commands) and
// table B (views and further commands), one column per language, texts in UTF-8 with "&" accelerators.
#pragma once

#include <string>

namespace velk {

// Languages: 0 none chosen (German captions), 1 Deutsch, 2 English, 3 Français, 4 Italiano,
// 5 Svenska, 6 Português, 7 Română, 8 Korean, 9 Español. Any other number shows German.
inline constexpr int kLanguageNone = 0;
inline constexpr int kLanguageGerman = 1;
inline constexpr int kLanguageEnglish = 2;
inline constexpr int kLanguageFrench = 3;
inline constexpr int kLanguageItalian = 4;
inline constexpr int kLanguageSwedish = 5;
inline constexpr int kLanguagePortuguese = 6;
inline constexpr int kLanguageRomanian = 7;
inline constexpr int kLanguageKorean = 8;
inline constexpr int kLanguageSpanish = 9;
inline constexpr int kLastLanguage = 9;

// Rows of caption table A, in table order (named after the German text).
enum class CapA {
  Menue,                // "Menü"
  Datei,                // "&Datei"
  Neu,                  // "&Neu..."
  Oeffnen,              // "Ö&ffnen..."
  Speichern,            // "&Speichern..."
  SpeichernUnter,       // "Speichern &Unter..."
  Zuruecksetzen,        // "&Zurücksetzen"
  EdiDateien,           // "&EDI-Dateien..."
  Einstellungen,        // "E&instellungen"
  Beenden,              // "&Beenden"
  Info,                 // "&Info"
  Drucken,              // "&Drucken..."
  Druckereinstellung,   // "Druckereinstellung"
  Import,               // "&Import"
  Export,               // "Ex&port"
  Bearbeiten,           // "&Bearbeiten"
  Text,                 // "Te&xt"
  Quick,                // "&Quick"
  Werkstoff,            // "&Werkstoff"
  Herstellung,          // "&Herstellung"
  Toleranzen,           // "&Toleranzen"
  Anwendung,            // "A&nwendung"
  Auslegung,            // "&Auslegung"
  Vorauslegung,         // "&Vorauslegung"
  Nachrechnung,         // "&Nachrechnung"
  Berechnungsmethode,   // "&Berechnungsmethode"
  Ansicht,              // "&Ansicht"
  Standardausdruck,     // "&Standardausdruck"
  Standard,             // "&Standard"
  Auszug,               // "&Auszug"
  Datenbank,            // "Datenban&k"
  Cad,                  // "&CAD"
  Fertigungszeichnung,  // "&Fertigungszeichnung"
  Zeichnung,            // "&Zeichnung"
  Vorderansicht,        // "&Vorderansicht"
  Seitenansicht,        // "&Seitenansicht"
  Schnitt,              // "&Schnitt"
  EinfacherSchnitt,     // "&Einfacher Schnitt"
  Draufsicht,           // "D&raufsicht"
  Diagramme,            // "&Diagramme"
  Diagramm,             // "&Diagramm"
  Dokument,             // "D&okument"
  Zeichnungsdaten,      // "&Zeichnungsdaten"
  AenderungenInfo,      // "Änderungen - &Info"
  AenderungenAusdruck,  // "Änderungen - &Ausdruck"
  NeueAenderung,        // "&Neue Änderung"
  AenderungBearbeiten,  // "Letzte Änderung &bearbeiten"
  AenderungLoeschen,    // "Letzte Änderung &löschen"
  DokumentSetup,        // "Dokument &Setup"
  Hilfe,                // "&Hilfe"
  Hilfebild,            // "&Hilfebild"
  Fehlermeldungen,      // "&Fehlermeldungen"
  Sicherheit,           // "&Sicherheit"
  Ausdruck,             // "&Ausdruck"
  Sprache,              // "&Sprache"
  Sonstige,             // "&Sonstige"
  Abmessungen,          // "&Abmessungen"
  Animation,            // "&Animation"
  Tabelle,              // "&Tabelle"
  Voransicht,           // "&Voransicht"
  Basisdaten,           // "&Basisdaten"
  Modell3d,             // "3D-&Modell (STEP)"
};
inline constexpr int kCaptionRowsA = static_cast<int>(CapA::Modell3d) + 1;

// Rows of caption table B, in table order (named after the German text).
enum class CapB {
  AuslegungWerkstoff,          // "A&uslegung Werkstoff"
  Statistik,                   // "&Statistik"
  Windungsabschnitte,          // "&Windungsabschnitte"
  Schenkel,                    // "&Schenkel"
  Oesen,                       // "&Ösen"
  Sonderform,                  // "S&onderform"
  Federkennlinie,              // "&Federkennlinie"
  FederkennlinieToleranzfeld,  // "F&ederkennlinie mit Toleranzfeld"
  GoodmanDiagramm,             // "&Goodman-Diagramm"
  Knicksicherheit,             // "&Knicksicherheit"
  Temperatur,                  // "&Temperatur"
  Spannung,                    // "S&pannung"
  Dynamikfaktor,               // "Dynamikfaktor &k"
  Kosten,                      // "K&osten"
  Frequenzgang,                // "&Frequenzgang"
  Normalverteilung,            // "&Normalverteilung (Gauss)"
  Federrate,                   // "Feder&rate"
  Federarbeit,                 // "Feder&arbeit"
  Eigenfrequenz,               // "&Eigenfrequenz"
  DatensatzAnhaengen,          // "Datensatz &anhängen"
  DatenbankDurchsuchen,        // "Datenbank durch&suchen"
  Browse,                      // "&Browse"
  FederkatalogWaehlen,         // "Federkatalog &wählen"
  FederdatenbankSortieren,     // "Federdatenbank &sortieren"
  FederdatenbankRuecksetzen,   // "Federdatenbank &rücksetzen"
  Federdatenbank,              // "&Federdatenbank"
  Schema,                      // "S&chema"
  Feder,                       // "&Feder"
  Federenden,                  // "Feder&enden"
  Relaxation,                  // "&Relaxation"
  Kegelstumpffeder,            // "&Kegelstumpffeder"
  Tonnenfeder,                 // "&Tonnenfeder"
  Taillenfeder,                // "Tai&llenfeder"
  Lastkollektiv,               // "&Lastkollektiv"
};
inline constexpr int kCaptionRowsB = static_cast<int>(CapB::Lastkollektiv) + 1;

// Table B has no Romanian column; Romanian shows table B in German, the program's own language
// (as for language 0), rather than the texts of whichever language was chosen before.
// True when language has a column of its own in table B (1..6, 8, 9).
bool hasOwnColumnB(int language);

// The caption of row in the given language (UTF-8); never empty for a row of the table.
std::string captionA(int language, CapA row);
std::string captionB(int language, CapB row);

// The caption variables of the running program: every text of both tables in the current
// language. setLanguage switches both tables at once, so no caption of an earlier language remains.
class Captions {
 public:
  explicit Captions(int language = kLanguageNone) : language_(language) {}

  void setLanguage(int language) { language_ = language; }
  int language() const { return language_; }

  std::string a(CapA row) const { return captionA(language_, row); }
  std::string b(CapB row) const { return captionB(language_, row); }

 private:
  int language_;
};

}  // namespace velk
