#include "accessimport/AccessImport.h"

#include "common/BusyPointer.h"
#include "context/AppContext.h"
#include "data/MakeDb.h"
#include "jet/AccessTakeover.h"
#include "jet/JetFile.h"
#include "jet/RaceImport.h"

#include <QDir>

namespace {

void report(AppContext &ctx, const QString &text)
{
    ctx.ui.message(text, Ui::Icon::Information, Ui::Buttons::Ok, QStringLiteral("Strivo"));
}

bool addedAnything(const ImportResult &r)
{
    return r.racesAdded + r.documentsAdded + r.pickListEntriesAdded + r.postalEntriesAdded > 0;
}

} // namespace

bool importAccessFile(AppContext &ctx, const JetOpener &open)
{
    Ui::FileRequest request;
    request.title = QStringLiteral("Läufe aus Access-Datei übernehmen");
    request.initialDir = ctx.paths.folder;
    request.filter = QStringLiteral("Access-Datenbank|*.mdb");
    const Ui::FileAnswer chosen = ctx.ui.openFile(request);
    if (!chosen.accepted)
        return false;
    bool added = false;
    ctx.guard([&] {
        ImportResult result;
        {
            BusyPointer busy(ctx.ui);
            const std::unique_ptr<JetRowSource> file = open(chosen.fileName);
            result = importRaces(*file, ctx.paths.database());
        }
        added = addedAnything(result);
        report(ctx, importReport(result));
    });
    return added;
}

void offerAccessTakeover(AppContext &ctx, const JetOpener &open)
{
    const QString mainFile = ctx.paths.database();
    if (!looksLikeAccessFile(mainFile))
        return;
    const QString question
        = QStringLiteral("Die Datenbankdatei '%1' ist eine Access-Datenbank aus einer früheren "
                         "Version. Sollen ihre Läufe in eine neue Datenbank übernommen werden? Die "
                         "Access-Datei bleibt unverändert unter dem Namen '%2' erhalten ?")
              .arg(QDir::toNativeSeparators(mainFile),
                   QDir::toNativeSeparators(accessFileName(mainFile)));
    if (ctx.ui.message(question, Ui::Icon::Question, Ui::Buttons::YesNo, QStringLiteral("Strivo"))
        != Ui::Answer::Yes)
        return;
    TakeoverResult result;
    {
        BusyPointer busy(ctx.ui);
        result = takeOverAccessFile(mainFile, installedSqlFiles(), open);
    }
    report(ctx,
           importReport(result.import)
               + QStringLiteral("\n\nDie Access-Datei ist unverändert als '%1' erhalten.")
                     .arg(QDir::toNativeSeparators(result.accessFile)));
}
