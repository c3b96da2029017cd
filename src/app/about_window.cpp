#include "app/about_window.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

constexpr int kClientWidth = 304;
constexpr int kClientHeight = 135;
const QString kWebAddress = QStringLiteral("https://www.veltra.hr");

QLabel* Label(QWidget* parent, const char* objectName, const QString& text, const QString& style)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setStyleSheet(style);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("O programu"));
    setFixedSize(kClientWidth, kClientHeight);

    auto* logo = Label(this, "ProductLogo", QStringLiteral("VELTRA"),
                       QStringLiteral("font: bold 20px 'Liberation Sans'; color: #006400;"));
    auto* version = Label(this, "VersionLabel", QStringLiteral("Inačica 0.93"),
                          QStringLiteral("color: maroon; font-weight: bold;"));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* author = Label(this, "AuthorLabel", QStringLiteral("VELTRA razvojni tim"), QStringLiteral("font-weight: bold;"));
    auto* contact = Label(this, "ContactLabel", QStringLiteral("podrska@veltra.hr"), QStringLiteral("color: red;"));
    auto* rights = Label(this, "RightsLabel", QStringLiteral("Sva prava pridržana."), QString());
    auto* link = Label(this, "WebLink", kWebAddress, QStringLiteral("color: blue; text-decoration: underline;"));
    link->setCursor(Qt::PointingHandCursor);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setText(QStringLiteral("<a href=\"%1\" style=\"color: blue;\">%1</a>").arg(kWebAddress));
    connect(link, &QLabel::linkActivated, this, [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); });

    auto* ok = new QPushButton(QStringLiteral("U redu"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(logo, 0, 0);
    layout->addWidget(version, 0, 1);
    layout->addWidget(author, 1, 0, 1, 2);
    layout->addWidget(contact, 2, 0, 1, 2);
    layout->addWidget(rights, 3, 0);
    layout->addWidget(ok, 3, 1, 2, 1);
    layout->addWidget(link, 4, 0);
}
