#pragma once

#include <QString>
#include <QVariant>

// The race editor's mode, as the main window's commands hand it over. The numbers are those the
// program always used for them; 4 is not used.
namespace BearbModus {
constexpr int New = 0;
constexpr int Edit = 1;
constexpr int Delete = 2;
constexpr int Copy = 3;
constexpr int Export = 5;
} // namespace BearbModus

// The program-wide variables through which windows hand data to each other.
// Member names are the names every window uses for them.
struct SharedVars
{
    QString app_pfad; // program folder, no trailing separator
    QString db_datei; // "/Strivo-DB.mdb"; the database is app_pfad + db_datei
    QString export_pfad; // app_pfad + "/Export/"
    QString dokument_pfad; // app_pfad + "/Dokumente/"
    QString aufruf_form; // lower-case name of the window that opened the current dialog

    int bearb_modus = BearbModus::New; // one of BearbModus
    QString neu_jn = QStringLiteral("nein");
    QString loeschen_jn = QStringLiteral("nein");
    QString akt_ad_nummer;
    QString listen_geladen_jn = QStringLiteral("nein");

    QString listen_text;
    int listen_index = 0;

    QVariant kalender_datum; // a date, a text or empty
    bool kalender_abbruch = false;

    QString plz_aufruf; // "lauf_ort" or "ort"
    QString meldung; // text of the message box being shown

    QString databasePath() const { return app_pfad + db_datei; }

    // The paths derived from the program folder, as start-up sets them.
    void setProgramFolder(const QString &folder)
    {
        db_datei = QStringLiteral("/Strivo-DB.mdb");
        app_pfad = folder;
        export_pfad = app_pfad + QStringLiteral("/Export/");
        dokument_pfad = app_pfad + QStringLiteral("/Dokumente/");
    }
};
