-- Strivo database: every table the program reads and writes.
-- Dates and times are text ("dd.mm.yyyy", "hh:mm"); yes/no columns are booleans (0/1)
-- or the text flags "Ja" / " ".

CREATE TABLE adressen (
    ad_nummer            INTEGER PRIMARY KEY AUTOINCREMENT,
    ad_lauf              TEXT,
    ad_lauf_ort          TEXT,
    ad_lauf_datum        TEXT,
    ad_lauf_wotag        TEXT,
    ad_strecke           TEXT,
    ad_start             TEXT,
    ad_ang_jn            BOOLEAN NOT NULL DEFAULT 0,
    ad_ang_datum         TEXT,
    ad_vorgemerkt_jn     BOOLEAN NOT NULL DEFAULT 0,
    ad_gelaufen_jn       TEXT,
    ad_zeit              TEXT,
    ad_name_veranst      TEXT,
    ad_telefon1_veranst  TEXT,
    ad_fax_veranst       TEXT,
    ad_email_veranst     TEXT,
    ad_internet_veranst  TEXT,
    ad_bank1             TEXT,
    ad_blz1              TEXT,
    ad_konto1            TEXT,
    ad_zeitmessung       TEXT,
    ad_strecke_sg        TEXT,
    ad_sg1_datum         TEXT,
    ad_sg2_datum         TEXT,
    ad_sg3_datum         TEXT,
    ad_sg11              TEXT,
    ad_sg12              TEXT,
    ad_sg13              TEXT,
    ad_sg21              TEXT,
    ad_sg22              TEXT,
    ad_sg23              TEXT,
    ad_sg31              TEXT,
    ad_sg32              TEXT,
    ad_sg33              TEXT,
    ad_alarm_jn          TEXT,
    ad_alarm_datum       TEXT,
    ad_bezahlt_jn        TEXT,
    ad_bezahlt_datum     TEXT,
    ad_startbild_jn      BOOLEAN NOT NULL DEFAULT 0,
    ad_startbild         TEXT,
    ad_name_ansprech     TEXT,
    ad_vorname_ansprech  TEXT,
    ad_anrede_ansprech   TEXT,
    ad_titel_ansprech    TEXT,
    ad_ort_ansprech      TEXT,
    ad_strasse_ansprech  TEXT,
    ad_pfplz_ansprech    TEXT,
    ad_plz_ansprech      TEXT,
    ad_postfach_ansprech TEXT,
    ad_land_ansprech     TEXT,
    ad_direkt_ansprech   TEXT,
    ad_mobil_ansprech    TEXT,
    ad_email_ansprech    TEXT,
    ad_memo_jn           TEXT,
    ad_memo              TEXT
);

CREATE TABLE ereignisse_dokumente (
    erd_nummer   INTEGER PRIMARY KEY AUTOINCREMENT,
    ed_nummer    TEXT,
    ed_datei     TEXT,
    ed_dateiname TEXT
);

CREATE TABLE aw_anrede      (anrede TEXT);
CREATE TABLE aw_titel       (titel TEXT);
CREATE TABLE aw_strasse     (strasse TEXT);
CREATE TABLE aw_land        (land TEXT, land_name TEXT);
CREATE TABLE aw_lauf        (lauf TEXT);
CREATE TABLE aw_zeitmessung (zeitmessung TEXT);

CREATE TABLE aw_plzort (
    pov_nummer INTEGER PRIMARY KEY AUTOINCREMENT,
    port       TEXT,
    plz        TEXT,
    pvw        TEXT
);
