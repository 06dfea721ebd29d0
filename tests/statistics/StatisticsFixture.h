#pragma once

#include "TestFolder.h"

// A race log with known figures:
// - 2019: Marathon 3:50:00 (31.12.), a 10 km race in 48:00 and one noted only;
// - 2020: Marathon 3:41:07 on 01.01. (the best), "10km" 46:30, "10 KM" with "DNF",
//   a marathon "3:45" (misread minutes), a half marathon, a race run without distance;
// - 2021: nothing; 2022: "Ultra 70 km" in "7h 5min", one race "ja" (not run);
// - a race with a damaged date, one with none, and a row without a name.
inline void addKnownRaces(const TestFolder &folder)
{
    const auto run = [&folder](const char *lauf, const char *ort, const char *datum,
                               const char *strecke, const char *zeit, bool angemeldet = true) {
        folder.addRace({ { "ad_lauf", lauf },
                         { "ad_lauf_ort", ort },
                         { "ad_lauf_datum", datum },
                         { "ad_strecke", strecke },
                         { "ad_zeit", zeit },
                         { "ad_gelaufen_jn", "Ja" },
                         { "ad_ang_jn", angemeldet } });
    };
    run("Silvesterlauf", "Trier", "31.12.2019", "Marathon", "3:50:00");
    run("Stadtlauf", "Köln", "05.05.2019", "10 km", "48:00");
    folder.addRace({ { "ad_lauf", "Herbstlauf" },
                     { "ad_lauf_datum", "01.10.2019" },
                     { "ad_vorgemerkt_jn", true },
                     { "ad_gelaufen_jn", " " } });
    run("Neujahrsmarathon", "Zürich", "01.01.2020", "marathon", "3h 41min 7s");
    run("Brückenlauf", "Würzburg", "10.06.2020", "10km", "46:30");
    run("Nachtlauf", "Bonn", "11.07.2020", "10 KM", "DNF");
    run("Berlin-Marathon", "Berlin", "27.09.2020", "Marathon", "3:45");
    run("Halbmarathon Hamburg", "Hamburg", "15.03.2020", "Halbmarathon", "1:52:10,5");
    run("Crosslauf", "Aachen", "20.02.2020", " ", "35:00", false);
    run("Rennsteiglauf", "Schmiedefeld", "21.05.2022", "Ultra 70 km", "7h 5min");
    folder.addRace({ { "ad_lauf", "Frühlingslauf" },
                     { "ad_lauf_datum", "02.04.2022" },
                     { "ad_strecke", "10 km" },
                     { "ad_gelaufen_jn", "ja" },
                     { "ad_zeit", "45:00" },
                     { "ad_vorgemerkt_jn", true } });
    run("Kaputtlauf", "Irgendwo", "31.02.2020", "10 km", "40:00");
    run("Ohnedatum", "Irgendwo", "", "10 km", "40:00");
    folder.addRace(
        { { "ad_lauf", "" }, { "ad_lauf_datum", "01.01.2020" }, { "ad_gelaufen_jn", "Ja" } });
}
