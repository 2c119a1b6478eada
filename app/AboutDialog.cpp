#include "AboutDialog.h"

#include "support/Messages.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>

const QString AboutDialog::MailAddress = QStringLiteral("ordalis@example.org");
const QString AboutDialog::WebAddress = QStringLiteral("https://www.example.org/ordalis");

namespace {

QLabel *linkLabel(QWidget *parent, const char *name, const QString &url, const QString &shown)
{
    auto *label = new QLabel(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), shown.toHtmlEscaped()),
        parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(label, &QLabel::linkActivated, parent,
                     [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("formAbout"));
    setWindowTitle(QStringLiteral("Über Ordalis"));
    setModal(true);

    auto *title = new QLabel(ProgramName + QStringLiteral(" v.") + ProgramVersion, this);
    title->setObjectName(QStringLiteral("lblTitel"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 6);
    title->setFont(big);

    auto *purpose = new QLabel(
        QStringLiteral("Ordalis übernimmt Adressen aus der Zwischenablage in ACT!. Kopieren Sie "
                       "eine Adresse aus einer E-Mail-Signatur, einem Impressum oder einem Brief, "
                       "und Ordalis erkennt Firma, Name, Straße, Postleitzahl und Ort, Land, "
                       "Telefon- und Faxnummern, E-Mail- und Web-Adresse. Nach einer kurzen "
                       "Prüfung legen Sie daraus einen neuen Kontakt an oder ergänzen den "
                       "Kontakt, den ACT! gerade zeigt."),
        this);
    purpose->setObjectName(QStringLiteral("lblBeschreibung"));
    purpose->setWordWrap(true);
    purpose->setFixedWidth(420); // a known width, so the wrapped height is known too

    auto *maker = new QLabel(QStringLiteral("Hersteller: Ordalis-Team"), this);
    maker->setObjectName(QStringLiteral("lblHersteller"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(purpose);
    layout->addSpacing(8);
    layout->addWidget(maker);
    layout->addWidget(
        linkLabel(this, "lnkMail", QStringLiteral("mailto:") + MailAddress, MailAddress));
    layout->addWidget(linkLabel(this, "lnkWeb", WebAddress, WebAddress));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
