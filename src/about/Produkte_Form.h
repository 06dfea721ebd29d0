#pragma once

#include <QDialog>
#include <QList>

class AppContext;
class LinkLabel;
class QLabel;
class QPushButton;

// The page on the maker's other products, each with a link to its download page.
class Produkte_Form : public QDialog
{
    Q_OBJECT
public:
    struct Product
    {
        QString name;
        QString description;
        QString address;
    };
    static QList<Product> products();

    explicit Produkte_Form(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *pr_l_text = nullptr;
    QList<QLabel *> pr_l_produkt;
    QList<QLabel *> pr_l_beschreibung;
    QList<LinkLabel *> pr_l_link;
    QPushButton *pr_c_ok = nullptr;

    void pr_l_link_Click(int index);
    void pr_c_ok_Click();

private:
    AppContext &m_ctx;
};
