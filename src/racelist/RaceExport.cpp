#include "racelist/RaceExport.h"

#include "common/GermanText.h"

QString exportStatement(const QString &path)
{
    const char16_t *columns[] = {
        u"ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_lauf_wotag, ad_strecke, ad_start, ad_ang_jn, "
        u"ad_ang_datum, ad_vorgemerkt_jn",
        u", ad_gelaufen_jn, ad_zeit, ad_name_veranst, ad_telefon1_veranst, ad_fax_veranst, "
        u"ad_email_veranst, ad_internet_veranst",
        u", ad_bank1, ad_blz1, ad_konto1, ad_zeitmessung",
        u", ad_strecke_sg, ad_sg1_datum, ad_sg2_datum, ad_sg3_datum, ad_sg11, ad_sg12, ad_sg13, "
        u"ad_sg21, ad_sg22, ad_sg23, ad_sg31, ad_sg32, ad_sg33",
        u", ad_alarm_jn, ad_alarm_datum, ad_bezahlt_jn, ad_bezahlt_datum, ad_startbild_jn, "
        u"ad_startbild",
        u", ad_name_ansprech, ad_vorname_ansprech, ad_anrede_ansprech, ad_titel_ansprech, "
        u"ad_ort_ansprech, ad_strasse_ansprech, ad_pfplz_ansprech",
        u", ad_plz_ansprech, ad_postfach_ansprech, ad_land_ansprech, ad_direkt_ansprech, "
        u"ad_mobil_ansprech, ad_email_ansprech",
        u", ad_memo_jn, ad_memo",
    };
    QString statement = QStringLiteral("select ");
    for (const char16_t *piece : columns)
        statement += QString::fromUtf16(piece);
    statement += QStringLiteral(" into ") + QStringLiteral("[Excel 8.0;Database=") + path
        + QStringLiteral("].Läufe") + QStringLiteral(" from adressen")
        + QStringLiteral(" order by cdate(ad_lauf_datum) desc");
    return statement;
}

QString proposedExportName(const QDateTime &now)
{
    return QStringLiteral("Läufe ") + now.toString(QStringLiteral("yy-MM-dd hh-mm-ss"));
}

QString exportPathTooLongMessage(const QString &path)
{
    return QStringLiteral("Der vollständige Export-Dateiname darf nicht länger als 63 Zeichen "
                          "sein!\n")
        + path + QStringLiteral("\nist ") + numberText(path.size())
        + QStringLiteral(" Zeichen lang - Bitte wiederholen");
}

QString exportDoneMessage(quint32 cutCells)
{
    QString done = QStringLiteral("Der Export wurde erfolgreich beendet");
    if (cutCells == 0)
        return done;
    const QString cells = cutCells == 1 ? QStringLiteral("einer Zelle")
                                        : QString::number(cutCells) + QStringLiteral(" Zellen");
    return done
        + QStringLiteral("\n\nIn %1 war der Text länger als die 32.767 Zeichen, die eine "
                         "Excel-Zelle fasst, und wurde in der Datei gekürzt. In der Datenbank "
                         "bleibt er vollständig erhalten.")
              .arg(cells);
}
