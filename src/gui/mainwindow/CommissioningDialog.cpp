// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/CommissioningDialog.h"

#include "commands/UserInterface.h"
#include "localisation/MenuAccelerators.h"
#include "localisation/MessageCatalogue.h"
#include "mainwindow/DecimalSpinBox.h"
#include "model/Translator.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What the details file takes back; longer texts would make the saved file unreadable.
constexpr int MaxLineLength = 1000;
constexpr int MaxRemarksLength = 10000;

QLineEdit* line(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(MaxLineLength);
    edit->setMinimumWidth(280);
    return edit;
}

QDateEdit* dateEdit(QWidget* parent) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setFixedWidth(130);
    return edit;
}

TDecimalSpinBox* percentBox(QWidget* parent) {
    auto* box = new TDecimalSpinBox(parent);
    box->setRange(0, 100);
    box->setDecimals(1);
    box->setSingleStep(1);
    box->setSuffix(QStringLiteral(" %"));
    return box;
}

} // namespace

TCommissioningDialog::TCommissioningDialog(const TMessageCatalogue& messages, IUserInterface& ui,
                                           const TUnits& units, double balancingTolerance, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_ui(ui), m_units(units),
      m_balancingTolerance(balancingTolerance) {
    setObjectName(QStringLiteral("CommissioningDialog"));
    auto t = [&](const char* english) { return messages.Translate(QString::fromLatin1(english)); };
    setWindowTitle(t("Commissioning details"));

    auto* project = new QGroupBox(t("This project"), this);
    Client = line(project);
    Site = line(project);
    System = line(project);
    Standard = line(project);
    SettingTolerance = new QRadioButton(project);
    OwnTolerance = new QRadioButton(project);
    LowerTolerance = percentBox(project);
    UpperTolerance = percentBox(project);
    Tested = new QCheckBox(project);
    TestDate = dateEdit(project);
    Witness = line(project);
    Remarks = new QPlainTextEdit(project);
    // Tab leaves the field, as in every other one; Return starts a new line here.
    Remarks->setTabChangesFocus(true);
    Remarks->setFixedHeight(Remarks->fontMetrics().lineSpacing() * 4 + 12);

    auto* user = new QGroupBox(t("Your details, for every project"), this);
    Engineer = line(user);
    Firm = line(user);
    InstrumentSerial = line(user);
    Calibrated = new QCheckBox(user);
    CalibrationDate = dateEdit(user);
    MinPressure = new QLineEdit(user);
    MinPressure->setFixedWidth(100);

    // Every caption gets its Alt key from the translated texts, so that each language has its own.
    const QString settingText = t("Balancing tolerance setting") + QStringLiteral(" (±") +
                                m_units.Locale.toString(balancingTolerance) + QStringLiteral(" %)");
    const QStringList captions = AssignAccelerators({
        t("Client"),
        t("Site or building"),
        t("System"),
        t("Standard named by the designer"),
        settingText,
        t("Own tolerance"),
        t("Below design"),
        t("Above design"),
        t("Test date"),
        t("Witness"),
        t("Remarks"),
        t("Engineer"),
        t("Firm"),
        t("Instrument serial number"),
        t("Calibration date"),
        m_units.PressureCaption(t("Minimum differential pressure")),
    });
    auto caption = [&](int i, QWidget* buddy) {
        auto* label = new QLabel(captions[i], this);
        label->setBuddy(buddy);
        return label;
    };

    auto* projectForm = new QFormLayout(project);
    projectForm->addRow(caption(0, Client), Client);
    projectForm->addRow(caption(1, Site), Site);
    projectForm->addRow(caption(2, System), System);
    projectForm->addRow(caption(3, Standard), Standard);
    SettingTolerance->setText(captions[4]);
    OwnTolerance->setText(captions[5]);
    projectForm->addRow(QString(), SettingTolerance);
    auto* own = new QHBoxLayout;
    own->addWidget(OwnTolerance);
    own->addSpacing(12);
    own->addWidget(caption(6, LowerTolerance));
    own->addWidget(LowerTolerance);
    own->addSpacing(12);
    own->addWidget(caption(7, UpperTolerance));
    own->addWidget(UpperTolerance);
    own->addStretch(1);
    projectForm->addRow(QString(), own);
    Tested->setText(captions[8]);
    projectForm->addRow(Tested, TestDate);
    projectForm->addRow(caption(9, Witness), Witness);
    projectForm->addRow(caption(10, Remarks), Remarks);

    auto* userForm = new QFormLayout(user);
    userForm->addRow(caption(11, Engineer), Engineer);
    userForm->addRow(caption(12, Firm), Firm);
    userForm->addRow(caption(13, InstrumentSerial), InstrumentSerial);
    Calibrated->setText(captions[14]);
    userForm->addRow(Calibrated, CalibrationDate);
    userForm->addRow(caption(15, MinPressure), MinPressure);

    // One column of captions for both groups, so that their fields line up.
    int captionWidth = 0;
    for (QFormLayout* form : {projectForm, userForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget())
                captionWidth = std::max(captionWidth, item->widget()->sizeHint().width());
    for (QFormLayout* form : {projectForm, userForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget())
                item->widget()->setMinimumWidth(captionWidth);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(t("Cancel"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(project);
    column->addWidget(user);
    column->addWidget(buttons);

    connect(OwnTolerance, &QRadioButton::toggled, this, [this](bool on) {
        LowerTolerance->setEnabled(on);
        UpperTolerance->setEnabled(on);
    });
    connect(Tested, &QCheckBox::toggled, TestDate, &QWidget::setEnabled);
    connect(Calibrated, &QCheckBox::toggled, CalibrationDate, &QWidget::setEnabled);

    QWidget* order[] = {Client,           Site,         System,           Standard,
                        SettingTolerance, OwnTolerance, LowerTolerance,   UpperTolerance,
                        Tested,           TestDate,     Witness,          Remarks,
                        Engineer,         Firm,         InstrumentSerial, Calibrated,
                        CalibrationDate,  MinPressure,  buttons};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    setValues({}, {});
}

void TCommissioningDialog::setValues(const TCommissioningDetails& details,
                                     const TCommissioningSettings& user) {
    m_details = details;
    m_user = user;
    Client->setText(details.Client);
    Site->setText(details.Site);
    System->setText(details.System);
    Standard->setText(details.Standard);
    const bool own = details.LowerTolerancePercent || details.UpperTolerancePercent;
    (own ? OwnTolerance : SettingTolerance)->setChecked(true);
    LowerTolerance->setEnabled(own);
    UpperTolerance->setEnabled(own);
    LowerTolerance->setValue(details.LowerTolerancePercent.value_or(m_balancingTolerance));
    UpperTolerance->setValue(details.UpperTolerancePercent.value_or(m_balancingTolerance));
    Tested->setChecked(details.TestDate.isValid());
    TestDate->setEnabled(details.TestDate.isValid());
    TestDate->setDate(details.TestDate.isValid() ? details.TestDate : QDate::currentDate());
    Witness->setText(details.Witness);
    Remarks->setPlainText(details.Remarks);
    Engineer->setText(user.Engineer);
    Firm->setText(user.Firm);
    InstrumentSerial->setText(user.InstrumentSerial);
    Calibrated->setChecked(user.CalibrationDate.isValid());
    CalibrationDate->setEnabled(user.CalibrationDate.isValid());
    CalibrationDate->setDate(user.CalibrationDate.isValid() ? user.CalibrationDate : QDate::currentDate());
    m_shownMinPressure = m_units.FormatPressure(user.MinDifferentialPressure);
    MinPressure->setText(m_shownMinPressure);
}

TCommissioningDetails TCommissioningDialog::details() const {
    TCommissioningDetails d = m_details;
    d.Client = Client->text();
    d.Site = Site->text();
    d.System = System->text();
    d.Standard = Standard->text();
    if (OwnTolerance->isChecked()) {
        d.LowerTolerancePercent = LowerTolerance->value();
        d.UpperTolerancePercent = UpperTolerance->value();
    } else {
        d.LowerTolerancePercent.reset();
        d.UpperTolerancePercent.reset();
    }
    d.TestDate = Tested->isChecked() ? TestDate->date() : QDate();
    d.Witness = Witness->text();
    d.Remarks = Remarks->toPlainText();
    return d;
}

TCommissioningSettings TCommissioningDialog::user() const {
    TCommissioningSettings u = m_user;
    u.Engineer = Engineer->text();
    u.Firm = Firm->text();
    u.InstrumentSerial = InstrumentSerial->text();
    u.CalibrationDate = Calibrated->isChecked() ? CalibrationDate->date() : QDate();
    if (const std::optional<double> pascal = minPressure())
        u.MinDifferentialPressure = *pascal;
    return u;
}

std::optional<double> TCommissioningDialog::minPressure() const {
    if (MinPressure->text() == m_shownMinPressure)
        return m_user.MinDifferentialPressure;
    const std::optional<double> pascal = m_units.TryParsePressure(MinPressure->text());
    if (!pascal || *pascal < 0)
        return std::nullopt;
    return pascal;
}

void TCommissioningDialog::accept() {
    auto refuse = [this](QWidget* field, const char* english) {
        m_ui.showMessage(m_messages.Translate(QStringLiteral("Error")),
                         m_messages.Translate(QString::fromLatin1(english)));
        field->setFocus();
    };
    if (!minPressure())
        return refuse(MinPressure,
                      EnglishText("The minimum differential pressure must be a number, 0 or more."));
    if (Remarks->toPlainText().size() > MaxRemarksLength)
        return refuse(Remarks, EnglishText("The remarks are too long: at most 10000 characters."));
    QDialog::accept();
}
