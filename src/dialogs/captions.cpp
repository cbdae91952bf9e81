// The menu caption tables of the user-interface languages: table A (menus and commands) and
// table B (views and further commands), one column per language, texts in UTF-8 with "&" accelerators.
#include "dialogs/captions.h"

#include <array>

namespace velk {
namespace {

// Korean texts put the accelerator after the word as "(&X)", as Korean Windows programs do;
// the letter follows the English caption where that is unambiguous. Romanian is written
// without diacritics, as the program's Romanian captions always were ("&Fisier").

// Columns: Deutsch, English, Français, Italiano, Svenska, Português, Română, 한국어, Español.
using RowA = std::array<const char*, 9>;
constexpr std::array<RowA, kCaptionRowsA> kTableA{{
    {"Menü", "Menu", "Menu", "Menu", "Meny", "Menu", "Meniu", "메뉴", "Menú"},
    {"&Datei", "&File", "&Fichier", "&File", "&Arkiv", "&Arquivo", "&Fisier", "파일(&F)", "&Archivo"},
    {"&Neu...", "&New...", "&Nouveau...", "&Nuovo...", "&Ny...", "&Novo...", "&Nou...", "새로 만들기(&N)...",
     "&Nuevo..."},
    {"Ö&ffnen...", "&Open...", "&Ouvrir...", "&Apri...", "&Öppna...", "&Abrir...", "&Deschide...", "열기(&O)...",
     "&Abrir..."},
    {"&Speichern...", "&Save...", "&Enregistrer...", "&Salva...", "&Spara...", "&Salvar...", "&Salveaza...",
     "저장(&S)...", "&Guardar..."},
    {"Speichern &Unter...", "Save &As...", "Enregistrer &sous...", "Salva &con nome...", "Spara &som...",
     "Salvar &como...", "Salveaza &ca...", "다른 이름으로 저장(&A)...", "Guardar &como..."},
    {"&Zurücksetzen", "&Reset", "&Réinitialiser", "&Reimposta", "&Återställ", "&Redefinir", "&Resetare", "초기화(&R)",
     "&Restablecer"},
    {"&EDI-Dateien...", "&EDI Files...", "Fichiers &EDI...", "File &EDI...", "&EDI-filer...", "Arquivos &EDI...",
     "Fisiere &EDI...", "EDI 파일(&E)...", "Archivos &EDI..."},
    {"E&instellungen", "Se&ttings", "&Paramètres", "&Impostazioni", "&Inställningar", "&Configurações", "&Setari",
     "설정(&T)", "&Configuración"},
    {"&Beenden", "E&xit", "&Quitter", "&Esci", "&Avsluta", "Sai&r", "&Iesire", "종료(&X)", "&Salir"},
    {"&Info", "&Info", "&Informations", "&Informazioni", "&Info", "&Informações", "&Informatii", "정보(&I)",
     "&Información"},
    {"&Drucken...", "&Print...", "&Imprimer...", "S&tampa...", "Skriv &ut...", "&Imprimir...", "&Tipareste...",
     "인쇄(&P)...", "&Imprimir..."},
    {"Druckereinstellung", "Printer Setup", "Configuration de l'imprimante", "Impostazione stampante",
     "Skrivarinställningar", "Configurar impressora", "Configurare imprimanta", "프린터 설정", "Configurar impresora"},
    {"&Import", "&Import", "&Importer", "&Importa", "&Importera", "&Importar", "&Import", "가져오기(&I)", "&Importar"},
    {"Ex&port", "Ex&port", "Ex&porter", "Es&porta", "Ex&portera", "Ex&portar", "Ex&port", "내보내기(&P)", "Ex&portar"},
    {"&Bearbeiten", "&Edit", "&Edition", "&Modifica", "&Redigera", "&Editar", "&Editare", "편집(&E)", "&Edición"},
    {"Te&xt", "Te&xt", "Te&xte", "Te&sto", "Te&xt", "Te&xto", "Te&xt", "텍스트(&X)", "Te&xto"},
    {"&Quick", "&Quick", "&Quick", "&Quick", "&Quick", "&Quick", "&Quick", "Quick(&Q)", "&Quick"},
    {"&Werkstoff", "&Material", "&Matériau", "&Materiale", "&Material", "&Material", "&Material", "재료(&M)",
     "&Material"},
    {"&Herstellung", "&Production", "&Fabrication", "&Produzione", "&Tillverkning", "&Fabricação", "&Fabricatie",
     "제조(&P)", "&Fabricación"},
    {"&Toleranzen", "&Tolerance", "&Tolérances", "&Tolleranze", "&Toleranser", "&Tolerâncias", "&Tolerante", "공차(&T)",
     "&Tolerancias"},
    {"A&nwendung", "A&pplication", "&Application", "&Applicazione", "&Användning", "&Aplicação", "&Aplicatie",
     "용도(&A)", "&Aplicación"},
    {"&Auslegung", "&Dimensioning", "&Dimensionnement", "&Dimensionamento", "&Dimensionering", "&Dimensionamento",
     "&Dimensionare", "설계(&D)", "&Dimensionamiento"},
    {"&Vorauslegung", "&Pre-Dimensioning", "&Prédimensionnement", "&Predimensionamento", "&Fördimensionering",
     "&Pré-dimensionamento", "&Predimensionare", "예비 설계(&P)", "&Predimensionamiento"},
    {"&Nachrechnung", "&Recalculation", "&Vérification", "&Verifica", "&Kontrollberäkning", "&Verificação",
     "&Verificare", "재계산(&R)", "&Verificación"},
    {"&Berechnungsmethode", "&Calculation Method", "Méthode de &calcul", "Metodo di &calcolo", "&Beräkningsmetod",
     "Método de &cálculo", "Metoda de &calcul", "계산 방법(&C)", "Método de &cálculo"},
    {"&Ansicht", "&View", "&Affichage", "&Visualizza", "&Visa", "E&xibir", "&Vizualizare", "보기(&V)", "&Ver"},
    {"&Standardausdruck", "&Standard Printout", "Impression &standard", "Stampa &standard", "&Standardutskrift",
     "Impressão &padrão", "Tiparire &standard", "표준 출력(&S)", "Impresión &estándar"},
    {"&Standard", "&Standard", "&Standard", "&Standard", "&Standard", "&Padrão", "&Standard", "표준(&S)", "&Estándar"},
    {"&Auszug", "&Excerpt Printout", "&Extrait", "&Estratto", "&Utdrag", "&Extrato", "&Extras", "요약 출력(&E)",
     "&Extracto"},
    {"Datenban&k", "&Database", "&Base de données", "&Database", "&Databas", "&Banco de dados", "&Baza de date",
     "데이터베이스(&D)", "&Base de datos"},
    {"&CAD", "&CAD", "&CAD", "&CAD", "&CAD", "&CAD", "&CAD", "CAD(&C)", "&CAD"},
    {"&Fertigungszeichnung", "&Production drawing", "&Dessin de fabrication", "&Disegno di produzione",
     "&Tillverkningsritning", "&Desenho de fabricação", "&Desen de executie", "제작 도면(&P)", "&Plano de fabricación"},
    {"&Zeichnung", "&Drawing", "&Dessin", "&Disegno", "&Ritning", "&Desenho", "&Desen", "도면(&D)", "&Dibujo"},
    {"&Vorderansicht", "P&rojection", "&Vue de face", "Vista &frontale", "&Framvy", "Vista &frontal",
     "Vedere din &fata", "정면도(&R)", "Vista &frontal"},
    {"&Seitenansicht", "&Side view", "Vue de &côté", "Vista &laterale", "&Sidovy", "Vista &lateral", "Vedere &laterala",
     "측면도(&S)", "Vista &lateral"},
    {"&Schnitt", "Pr&ofile", "&Coupe", "&Sezione", "&Snitt", "&Corte", "&Sectiune", "단면(&O)", "&Corte"},
    {"&Einfacher Schnitt", "&Simple profile", "Coupe &simple", "Sezione &semplice", "&Enkelt snitt", "Corte &simples",
     "Sectiune &simpla", "단순 단면(&S)", "Corte &simple"},
    {"D&raufsicht", "&Upper view", "Vue de &dessus", "Vista dall'&alto", "Vy &ovanifrån", "Vista &superior",
     "Vedere de &sus", "평면도(&U)", "Vista &superior"},
    {"&Diagramme", "&Diagrams", "&Diagrammes", "&Diagrammi", "&Diagram", "&Diagramas", "&Diagrame", "다이어그램(&D)",
     "&Diagramas"},
    {"&Diagramm", "&Diagram", "&Diagramme", "&Diagramma", "&Diagram", "&Diagrama", "&Diagrama", "다이어그램(&D)",
     "&Diagrama"},
    {"D&okument", "D&ocument", "D&ocument", "D&ocumento", "D&okument", "D&ocumento", "D&ocument", "문서(&O)",
     "D&ocumento"},
    {"&Zeichnungsdaten", "&Drawing data", "&Données du dessin", "&Dati del disegno", "&Ritningsdata",
     "&Dados do desenho", "&Date desen", "도면 정보(&D)", "&Datos del dibujo"},
    {"Änderungen - &Info", "Modifications - &Info", "Modifications - &Info", "Modifiche - &Info", "Ändringar - &Info",
     "Modificações - &Info", "Modificari - &Info", "변경 내역 - 정보(&I)", "Modificaciones - &Info"},
    {"Änderungen - &Ausdruck", "Modifications - &Printout", "Modifications - &Impression", "Modifiche - &Stampa",
     "Ändringar - &Utskrift", "Modificações - &Impressão", "Modificari - &Tiparire", "변경 내역 - 출력(&P)",
     "Modificaciones - &Impresión"},
    {"&Neue Änderung", "Modification - &New", "&Nouvelle modification", "&Nuova modifica", "&Ny ändring",
     "&Nova modificação", "Modificare &noua", "새 변경(&N)", "&Nueva modificación"},
    {"Letzte Änderung &bearbeiten", "&Edit previous modification", "&Corriger la dernière modification",
     "&Correggi ultima modifica", "&Redigera senaste ändring", "&Editar última modificação",
     "&Editare ultima modificare", "최근 변경 편집(&E)", "&Editar última modificación"},
    {"Letzte Änderung &löschen", "&Delete previous modification", "&Supprimer la dernière modification",
     "&Elimina ultima modifica", "&Ta bort senaste ändring", "E&xcluir última modificação", "&Sterge ultima modificare",
     "최근 변경 삭제(&D)", "E&liminar última modificación"},
    {"Dokument &Setup", "Document &Setup", "&Configuration des documents", "&Impostazione documenti",
     "Dokument&inställningar", "&Configuração de documentos", "&Configurare documente", "문서 설정(&S)",
     "&Configuración de documentos"},
    {"&Hilfe", "&Help", "&Aide", "&Aiuto", "&Hjälp", "Aj&uda", "&Ajutor", "도움말(&H)", "Ay&uda"},
    {"&Hilfebild", "&Auxiliary images", "&Images d'aide", "&Immagini di aiuto", "&Hjälpbilder", "&Imagens de ajuda",
     "&Imagini de ajutor", "도움말 그림(&A)", "&Imágenes de ayuda"},
    {"&Fehlermeldungen", "&Error messages", "Messages d'&erreur", "Messaggi di &errore", "&Felmeddelanden",
     "Mensagens de &erro", "Mesaje de &eroare", "오류 메시지(&E)", "Mensajes de &error"},
    {"&Sicherheit", "&Safety", "&Sécurité", "&Sicurezza", "&Säkerhet", "&Segurança", "&Siguranta", "안전(&S)",
     "&Seguridad"},
    {"&Ausdruck", "&Printout", "&Impression", "&Stampa", "&Utskrift", "&Impressão", "&Tiparire", "출력(&P)",
     "&Impresión"},
    {"&Sprache", "&Language", "&Langue", "&Lingua", "&Språk", "&Idioma", "&Limba", "언어(&L)", "&Idioma"},
    {"&Sonstige", "&Others", "&Autres", "&Altro", "Ö&vrigt", "&Outros", "&Altele", "기타(&O)", "&Otros"},
    {"&Abmessungen", "&Dimensions", "&Dimensions", "&Dimensioni", "&Mått", "&Dimensões", "&Dimensiuni", "치수(&D)",
     "&Dimensiones"},
    {"&Animation", "&Animation", "&Animation", "&Animazione", "&Animering", "&Animação", "&Animatie", "애니메이션(&A)",
     "&Animación"},
    {"&Tabelle", "&Table", "&Tableau", "&Tabella", "&Tabell", "&Tabela", "&Tabel", "테이블(&T)", "&Tabla"},
    {"&Voransicht", "&Preview", "&Aperçu", "&Anteprima", "&Förhandsgranskning", "&Pré-visualização", "&Previzualizare",
     "미리 보기(&P)", "&Vista previa"},
    {"&Basisdaten", "&Base Data", "&Données de base", "&Dati di base", "&Grunddata", "&Dados básicos", "&Date de baza",
     "기본 데이터(&B)", "&Datos básicos"},
    {"3D-&Modell (STEP)", "3D &model (STEP)", "&Modèle 3D (STEP)", "&Modello 3D (STEP)", "3D-&modell (STEP)",
     "&Modelo 3D (STEP)", "&Model 3D (STEP)", "3D 모델 (STEP)(&M)", "&Modelo 3D (STEP)"},
}};

// Columns: Deutsch, English, Français, Italiano, Svenska, Português, 한국어, Español (no Română).
using RowB = std::array<const char*, 8>;
constexpr std::array<RowB, kCaptionRowsB> kTableB{{
    {"A&uslegung Werkstoff", "Dimensioning &material", "Dimensionnement &matériau", "Dimensionamento &materiale",
     "Dimensionering &material", "Dimensionamento do &material", "재료 설계(&M)", "Dimensionamiento del &material"},
    {"&Statistik", "&Statistics", "&Statistiques", "&Statistica", "&Statistik", "&Estatística", "통계(&S)",
     "&Estadística"},
    {"&Windungsabschnitte", "&Coil sections", "&Sections de spires", "&Sezioni delle spire", "&Varvavsnitt",
     "&Seções das espiras", "권선 구간(&C)", "&Secciones de espiras"},
    {"&Schenkel", "&Legs", "&Branches", "&Bracci", "&Skänklar", "&Braços", "다리(&L)", "&Brazos"},
    {"&Ösen", "&Loops", "&Anneaux", "&Occhielli", "&Öglor", "&Olhais", "고리(&L)", "&Ganchos"},
    {"S&onderform", "&Special shape", "&Forme spéciale", "&Forma speciale", "&Specialform", "&Forma especial",
     "특수 형상(&S)", "&Forma especial"},
    {"&Federkennlinie", "&Load deflection curve of spring", "&Caractéristique du ressort",
     "&Caratteristica della molla", "&Fjäderkarakteristik", "&Curva característica da mola", "스프링 특성 곡선(&L)",
     "&Curva característica del resorte"},
    {"F&ederkennlinie mit Toleranzfeld", "Load deflection curve with &tolerance band",
     "Caractéristique avec zone de &tolérance", "Caratteristica con campo di &tolleranza",
     "Fjäderkarakteristik med &toleransfält", "Curva característica com faixa de &tolerância",
     "공차 범위 포함 특성 곡선(&T)", "Curva característica con campo de &tolerancia"},
    {"&Goodman-Diagramm", "&Goodman diagram", "Diagramme de &Goodman", "Diagramma di &Goodman", "&Goodmandiagram",
     "Diagrama de &Goodman", "Goodman 선도(&G)", "Diagrama de &Goodman"},
    {"&Knicksicherheit", "&Buckling safety", "Sécurité au &flambage", "Sicurezza a &carico di punta", "&Knäcksäkerhet",
     "Segurança à &flambagem", "좌굴 안전율(&B)", "Seguridad al &pandeo"},
    {"&Temperatur", "&Temperature", "&Température", "&Temperatura", "&Temperatur", "&Temperatura", "온도(&T)",
     "&Temperatura"},
    {"S&pannung", "&Stress", "&Contrainte", "&Tensione", "S&pänning", "&Tensão", "응력(&S)", "&Tensión"},
    {"Dynamikfaktor &k", "Dynamic factor &k", "Facteur dynamique &k", "Fattore dinamico &k", "Dynamikfaktor &k",
     "Fator dinâmico &k", "동적 계수 k(&K)", "Factor dinámico &k"},
    {"K&osten", "C&osts", "C&oûts", "C&osti", "K&ostnader", "C&ustos", "비용(&O)", "C&ostes"},
    {"&Frequenzgang", "&Frequency response", "Réponse en &fréquence", "Risposta in &frequenza", "&Frekvensgång",
     "Resposta em &frequência", "주파수 응답(&F)", "Respuesta en &frecuencia"},
    {"&Normalverteilung (Gauss)", "&Normal distribution (Gauss)", "Loi &normale (Gauss)",
     "Distribuzione &normale (Gauss)", "&Normalfördelning (Gauss)", "Distribuição &normal (Gauss)",
     "정규 분포 (Gauss)(&N)", "Distribución &normal (Gauss)"},
    {"Feder&rate", "Spring &rate", "&Raideur du ressort", "&Rigidezza della molla", "Fjäder&konstant",
     "&Rigidez da mola", "스프링 상수(&R)", "&Rigidez del resorte"},
    {"Feder&arbeit", "Spring &energy", "&Travail du ressort", "&Lavoro della molla", "Fjäder&arbete",
     "&Trabalho da mola", "스프링 에너지(&E)", "&Trabajo del resorte"},
    {"&Eigenfrequenz", "&Natural frequency", "Fréquence &propre", "Frequenza &propria", "&Egenfrekvens",
     "Frequência &natural", "고유 진동수(&N)", "Frecuencia &propia"},
    {"Datensatz &anhängen", "&Append record", "&Ajouter un enregistrement", "&Aggiungi record", "&Lägg till post",
     "&Acrescentar registro", "레코드 추가(&A)", "&Añadir registro"},
    {"Datenbank durch&suchen", "&Search database", "&Rechercher dans la base", "&Cerca nel database",
     "&Sök i databasen", "&Pesquisar banco de dados", "데이터베이스 검색(&S)", "&Buscar en la base de datos"},
    {"&Browse", "&Browse", "&Parcourir", "&Sfoglia", "&Bläddra", "&Navegar", "찾아보기(&B)", "&Examinar"},
    {"Federkatalog &wählen", "Select spring &catalogue", "Choisir le &catalogue de ressorts", "Scegli &catalogo molle",
     "Välj fjäder&katalog", "Selecionar &catálogo de molas", "스프링 카탈로그 선택(&C)",
     "Seleccionar &catálogo de resortes"},
    {"Federdatenbank &sortieren", "&Sort spring database", "&Trier la base de ressorts", "&Ordina database molle",
     "&Sortera fjäderdatabasen", "&Ordenar banco de molas", "스프링 데이터베이스 정렬(&S)",
     "&Ordenar base de resortes"},
    {"Federdatenbank &rücksetzen", "&Reset spring database", "&Réinitialiser la base de ressorts",
     "&Reimposta database molle", "Åter&ställ fjäderdatabasen", "&Redefinir banco de molas",
     "스프링 데이터베이스 초기화(&R)", "&Restablecer base de resortes"},
    {"&Federdatenbank", "&Spring database", "Base de &ressorts", "&Database molle", "&Fjäderdatabas", "Banco de &molas",
     "스프링 데이터베이스(&S)", "Base de &resortes"},
    {"S&chema", "S&chematic", "&Schéma", "&Schema", "S&chema", "&Esquema", "개략도(&C)", "&Esquema"},
    {"&Feder", "&Spring", "&Ressort", "&Molla", "&Fjäder", "&Mola", "스프링(&S)", "&Resorte"},
    {"Feder&enden", "Spring &ends", "&Extrémités du ressort", "&Estremità della molla", "Fjäder&ändar",
     "&Extremidades da mola", "스프링 끝단(&E)", "&Extremos del resorte"},
    {"&Relaxation", "&Relaxation", "&Relaxation", "&Rilassamento", "&Relaxation", "&Relaxação", "응력 이완(&R)",
     "&Relajación"},
    {"&Kegelstumpffeder", "&Conical spring", "Ressort &conique", "Molla &conica", "&Konisk fjäder", "Mola &cônica",
     "원추형 스프링(&C)", "Resorte &cónico"},
    {"&Tonnenfeder", "&Barrel spring", "Ressort en &tonneau", "Molla a &botte", "&Tunnfjäder", "Mola &barril",
     "배럴형 스프링(&B)", "Resorte de &barril"},
    {"Tai&llenfeder", "&Hourglass spring", "Ressort en &diabolo", "Molla a &clessidra", "&Timglasfjäder",
     "Mola &ampulheta", "장구형 스프링(&H)", "Resorte de &reloj de arena"},
    {"&Lastkollektiv", "&Load spectrum", "&Spectre de charge", "Spettro di &carico", "&Lastspektrum",
     "Espectro de &carga", "하중 스펙트럼(&L)", "Espectro de &carga"},
}};

// Column of table A: languages 1..9; 0 and unknown numbers take German.
int columnA(int language) { return language >= kLanguageGerman && language <= kLastLanguage ? language - 1 : 0; }

int columnB(int language) {
  if (!hasOwnColumnB(language)) return 0;
  return language < kLanguageRomanian ? language - 1 : language - 2;
}

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

}  // namespace

bool hasOwnColumnB(int language) {
  return language >= kLanguageGerman && language <= kLastLanguage && language != kLanguageRomanian;
}

std::string captionA(int language, CapA row) {
  const int r = static_cast<int>(row);
  if (r < 0 || r >= kCaptionRowsA) return {};
  return text(kTableA[r][columnA(language)]);
}

std::string captionB(int language, CapB row) {
  const int r = static_cast<int>(row);
  if (r < 0 || r >= kCaptionRowsB) return {};
  return text(kTableB[r][columnB(language)]);
}

}  // namespace velk
