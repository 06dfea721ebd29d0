#pragma once

#include <QDialog>

class AppContext;
class LinkLabel;
class QGroupBox;
class QLabel;
class QPushButton;

// The about box: program name, version line, terms of use and the maker's contact links.
class Info_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Info_Form(AppContext &ctx, QWidget *parent = nullptr);

    // The licence in a few German words: free software under the GNU GPL 3 or later, no warranty.
    static QString termsOfUse();

    QGroupBox *Frame3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *i_l_versionsnummer = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *i_l_nutzung = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *i_l_name = nullptr;
    QLabel *i_l_strasse = nullptr;
    QLabel *i_l_ort = nullptr;
    QLabel *i_l_telefon = nullptr;
    QLabel *i_l_fax = nullptr;
    LinkLabel *i_l_email = nullptr;
    LinkLabel *i_l_homepage = nullptr;
    QPushButton *Info_c_ok = nullptr;

    void Form_Load();
    void i_l_email_Click();
    void i_l_homepage_Click();
    void Info_c_ok_Click();

private:
    void buildForm();

    AppContext &m_ctx;
};
