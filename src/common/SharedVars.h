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
};
