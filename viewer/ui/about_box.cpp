#include "viewer/ui/about_box.h"

#include "about_picture.h"
#include "viewer/ui/jpeg_image.h"
#include "viewer/ui/shell_open.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrin {

namespace {

// The user's manual: beside the program when installed, else in the source
// tree it was built from.
QString manualPath()
{
    QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/README.md");
    if (QFileInfo::exists(beside))
        return beside;
    QString source = QStringLiteral(TAVRIN_SOURCE_DIR "/README.md");
    return QFileInfo::exists(source) ? source : QString();
}

const char* kNotes =
    "Установка\n"
    "  ./run.sh ставит нужные пакеты Debian, собирает программу и запускает её на примерах.\n"
    "  ./test.sh собирает и выполняет все тесты.\n"
    "\n"
    "Файлы данных\n"
    "  Одна точка в строке: X Y Z через пробел, ';' или табуляцию; десятичная запятая "
    "допускается. Строки, начинающиеся с '*' или '/', - комментарии.\n"
    "\n"
    "Работа\n"
    "  Добавьте файлы в список, задайте прямоугольник индексов матрицы и способ заливки "
    "на странице \"Настройка\", затем покажите текущий файл (F4 или двойной щелчок), все "
    "отмеченные по очереди или их сумму на одной поверхности.\n"
    "\n"
    "Настройки и список файлов хранятся в Tavrin.ini, ~ListFiles.txt и ~ListFilesChecked.txt "
    "в папке программы (или в ~/.config/Tavrin, если папка программы недоступна для записи).";

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Tavrin"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    QImage image = DecodeJpeg(about_picture("about.jpg"));
    picture->setPixmap(QPixmap::fromImage(image));
    picture->setFixedSize(image.isNull() ? QSize(0, 0) : image.size());

    auto* product = new QLabel(QStringLiteral("Tavrin"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("Version"));
    auto* status = new QLabel(QStringLiteral("Freeware"), this);
    status->setObjectName(QStringLiteral("Status"));

    auto* titles = new QVBoxLayout;
    titles->addWidget(product);
    titles->addWidget(version_);
    titles->addWidget(status);
    QString manual = manualPath();
    if (!manual.isEmpty()) {
        auto* link = new QLabel(this);
        link->setObjectName(QStringLiteral("WebAddress"));
        link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(QUrl::fromLocalFile(manual).toString(), QStringLiteral("Руководство пользователя")));
        link->setToolTip(manual);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(link, &QLabel::linkActivated, this, [this, manual](const QString&) { ShellOpen(manual, 0, true, this); });
        titles->addWidget(link);
    }
    titles->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(titles, 1);

    auto* notes = new QPlainTextEdit(QString::fromUtf8(kNotes), this);
    notes->setObjectName(QStringLiteral("Comments"));
    notes->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(notes, 1);
    layout->addWidget(buttons);
    resize(460, 380);
}

void TAboutBox::setVersionText(const QString& text)
{
    version_->setText(text);
}

QString TAboutBox::versionText() const
{
    return version_->text();
}

} // namespace tavrin
