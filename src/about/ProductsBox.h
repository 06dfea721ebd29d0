#pragma once

#include <QDialog>
#include <QList>

class AppContext;

// The page on the maker's other products, each with a link to its download page.
class ProductsBox : public QDialog
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

    explicit ProductsBox(AppContext &ctx, QWidget *parent = nullptr);

private:
    void onLinkClicked(int index);
    void onCloseClicked();

    AppContext &m_ctx;
};
