#include "common/ErrorGuard.h"

#include "common/DbError.h"
#include "common/GermanText.h"
#include "common/Ui.h"

#include <algorithm>
#include <new>

bool guarded(Ui &ui, const std::function<void()> &body, std::initializer_list<int> ignored)
{
    int number = 0;
    QString description;
    try {
        body();
        return true;
    } catch (const DbError &e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc &) {
        number = 7;
        description = QStringLiteral("Nicht genügend Arbeitsspeicher");
    } catch (const std::exception &e) {
        number = 5;
        description = QStringLiteral("Unerwarteter Fehler: ") + QString::fromLocal8Bit(e.what());
    }
    if (std::find(ignored.begin(), ignored.end(), number) == ignored.end()) {
        ui.message(description + numberText(number), Ui::Icon::None, Ui::Buttons::Ok);
    }
    return false;
}
