#include "about/ProductsBox.h"

#include "about/LinkLabel.h"
#include "context/AppContext.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

QList<ProductsBox::Product> ProductsBox::products()
{
    // Placeholders: no real product stands behind these names and addresses.
    return {
        { QStringLiteral("Beispielprogramm Trainingsplan"),
          QStringLiteral("Wochenpläne für das Lauftraining anlegen, anpassen und ausdrucken."),
          QStringLiteral("https://www.example.org/produkte/trainingsplan/") },
        { QStringLiteral("Beispielprogramm Vereinskasse"),
          QStringLiteral("Beiträge, Einnahmen und Ausgaben eines kleinen Vereins verwalten."),
          QStringLiteral("https://www.example.org/produkte/vereinskasse/") },
    };
}

ProductsBox::ProductsBox(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Produkte_Form"));
    setWindowTitle(QStringLiteral("weitere Produkte"));

    auto *text = new QLabel(QStringLiteral("Vom Hersteller von Strivo gibt es weitere Programme. "
                                           "Ein Klick auf die Adresse öffnet die Seite, auf der "
                                           "Sie das Programm herunterladen können."),
                            this);
    text->setObjectName(QStringLiteral("pr_l_text"));
    text->setGeometry(twRect(240, 180, 6720, 660));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QList<Product> list = products();
    int top = 1020;
    for (int i = 0; i < list.size(); ++i) {
        const Product &product = list[i];
        auto *name = new QLabel(product.name, this);
        name->setObjectName(QStringLiteral("pr_l_produkt(%1)").arg(i));
        name->setGeometry(twRect(240, top, 6720, 285));
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);

        auto *description = new QLabel(product.description, this);
        description->setObjectName(QStringLiteral("pr_l_beschreibung(%1)").arg(i));
        description->setGeometry(twRect(240, top + 300, 6720, 285));

        auto *link = new LinkLabel(product.address, this);
        link->setObjectName(QStringLiteral("pr_l_link(%1)").arg(i));
        link->setGeometry(twRect(240, top + 600, 6720, 285));
        link->setToolTip(QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
        link->setAccessibleDescription(product.name);
        connect(link, &LinkLabel::clicked, this, [this, i] { onLinkClicked(i); });
        top += 1080;
    }

    auto *closeButton = new QPushButton(QStringLiteral("&Schliessen"), this);
    closeButton->setObjectName(QStringLiteral("pr_c_ok"));
    closeButton->setGeometry(twRect(5160, top + 120, 1800, 435));
    connect(closeButton, &QPushButton::clicked, this, &ProductsBox::onCloseClicked);
    closeButton->setFocus();

    setFixedSize(twSize(7200, top + 120 + 435 + 180));
}

void ProductsBox::onLinkClicked(int index)
{
    m_ctx.guard([this, index] {
        const QList<Product> list = products();
        if (index >= 0 && index < list.size())
            m_ctx.ui.openUrl(QUrl(list[index].address));
    });
}

void ProductsBox::onCloseClicked()
{
    close();
}
