// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the race editor, filled with a sample race, to a PNG: editor_screenshot out.png [tab]
#include "ProgramFixture.h"
#include "editor/RaceEditor.h"

#include <QApplication>
#include <QTabWidget>

#include <algorithm>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    ProgramRun run(TestFolder::Content::Seeded, QDateTime(QDate(2026, 5, 7), QTime(10, 0)));
    const qlonglong key = run.folder.addRace({
        { "ad_lauf", "Köln-Marathon" },
        { "ad_lauf_ort", "Köln" },
        { "ad_lauf_datum", "04.10.2026" },
        { "ad_strecke", "10 km" },
        { "ad_start", "09:30" },
        { "ad_ang_jn", true },
        { "ad_ang_datum", "15.01.2026" },
        { "ad_vorgemerkt_jn", true },
        { "ad_zeit", "0:52:10" },
        { "ad_name_veranst", "Marathon Köln e.V." },
        { "ad_telefon1_veranst", "0221/123456" },
        { "ad_fax_veranst", "0221/123457" },
        { "ad_email_veranst", "info@koeln-marathon.de" },
        { "ad_internet_veranst", "www.koeln-marathon.de" },
        { "ad_bank1", "Sparkasse" },
        { "ad_blz1", "37050198" },
        { "ad_konto1", "1234567" },
        { "ad_zeitmessung", "ChampionChip" },
        { "ad_strecke_sg", "10 km" },
        { "ad_sg1_datum", "31.03.2026" },
        { "ad_sg2_datum", "30.06.2026" },
        { "ad_sg3_datum", "30.09.2026" },
        { "ad_sg11", "55 €" },
        { "ad_sg12", "40 €" },
        { "ad_sg13", "25 €" },
        { "ad_sg21", "65 €" },
        { "ad_sg22", "45 €" },
        { "ad_sg23", "30 €" },
        { "ad_sg31", "75 €" },
        { "ad_sg32", "50 €" },
        { "ad_sg33", "35 €" },
        { "ad_alarm_jn", "Ja" },
        { "ad_alarm_datum", "20.03.2026" },
        { "ad_bezahlt_jn", " " },
        { "ad_startbild_jn", true },
        { "ad_startbild", "/home/laeufer/Bilder/koeln-2025.jpg" },
        { "ad_name_ansprech", "Müller" },
        { "ad_vorname_ansprech", "Jürgen" },
        { "ad_anrede_ansprech", "Herr" },
        { "ad_titel_ansprech", "Dr." },
        { "ad_strasse_ansprech", "Aachener Straße 1000" },
        { "ad_plz_ansprech", "50933" },
        { "ad_ort_ansprech", "Köln" },
        { "ad_pfplz_ansprech", "50001" },
        { "ad_postfach_ansprech", "101010" },
        { "ad_land_ansprech", "D" },
        { "ad_direkt_ansprech", "0221/99" },
        { "ad_mobil_ansprech", "0171/1234567" },
        { "ad_email_ansprech", "j.mueller@example.org" },
        { "ad_memo", "Startblock F, Kleiderbeutel bis 8:30 Uhr abgeben." },
    });

    // The mode by its number: 0 new, 1 edit, 2 delete, 3 copy.
    const int mode = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 1;
    RaceEditor form(run.ctx, EditorMode(std::clamp(mode, 0, 3)), run.ctx.races().race(key));
    if (argc > 2)
        form.findChild<QTabWidget *>(QStringLiteral("SSTab1"))
            ->setCurrentIndex(QString::fromLocal8Bit(argv[2]).toInt());
    form.show();
    form.fillPickLists();
    app.processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
