#include "about/Produkte_Form.h"

#include "about/LinkLabel.h"
#include "context/AppContext.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

QList<Produkte_Form::Product> Produkte_Form::products()
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

Produkte_Form::Produkte_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Produkte_Form"));
    setWindowTitle(QStringLiteral("weitere Produkte"));

    pr_l_text = new QLabel(QStringLiteral("Vom Hersteller von Strivo gibt es weitere Programme. "
                                          "Ein Klick auf die Adresse öffnet die Seite, auf der "
                                          "Sie das Programm herunterladen können."),
                           this);
    pr_l_text->setObjectName(QStringLiteral("pr_l_text"));
    pr_l_text->setGeometry(twRect(240, 180, 6720, 660));
    pr_l_text->setWordWrap(true);
    pr_l_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
        pr_l_produkt << name;

        auto *description = new QLabel(product.description, this);
        description->setObjectName(QStringLiteral("pr_l_beschreibung(%1)").arg(i));
        description->setGeometry(twRect(240, top + 300, 6720, 285));
        pr_l_beschreibung << description;

        auto *link = new LinkLabel(product.address, this);
        link->setObjectName(QStringLiteral("pr_l_link(%1)").arg(i));
        link->setGeometry(twRect(240, top + 600, 6720, 285));
        link->setToolTip(QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
        link->setAccessibleDescription(product.name);
        connect(link, &LinkLabel::clicked, this, [this, i] { pr_l_link_Click(i); });
        pr_l_link << link;
        top += 1080;
    }

    pr_c_ok = new QPushButton(QStringLiteral("&Schliessen"), this);
    pr_c_ok->setObjectName(QStringLiteral("pr_c_ok"));
    pr_c_ok->setGeometry(twRect(5160, top + 120, 1800, 435));
    connect(pr_c_ok, &QPushButton::clicked, this, &Produkte_Form::pr_c_ok_Click);
    pr_c_ok->setFocus();

    setFixedSize(twSize(7200, top + 120 + 435 + 180));
}

void Produkte_Form::pr_l_link_Click(int index)
{
    m_ctx.guard([this, index] {
        const QList<Product> list = products();
        if (index >= 0 && index < list.size())
            m_ctx.ui.openUrl(QUrl(list[index].address));
    });
}

void Produkte_Form::pr_c_ok_Click()
{
    close();
}
