#include "ui/einvoice_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace condpag::ui {

EInvoiceDialog::EInvoiceDialog(const Expected<std::string>& block, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DatiPagamentoFatturaElettronica"));
    setWindowTitle(QStringLiteral("Dati pagamento fattura elettronica"));
    auto* column = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setPlainText(qstr(block ? *block : block.error().message));
    status_ = new QLabel(this);
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("File"));
    browse_ = new QPushButton(QStringLiteral("Sfoglia…"), this);
    save_ = new QPushButton(QStringLiteral("Salva"), this);
    close_ = new QPushButton(QStringLiteral("Chiudi"), this);
    // A block that could not be made has nothing to save.
    for (QWidget* widget : {static_cast<QWidget*>(file_), static_cast<QWidget*>(browse_),
                            static_cast<QWidget*>(save_)}) {
        widget->setEnabled(block.ok());
    }
    if (block) block_ = *block;
    column->addWidget(text_);
    column->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("File"), this));
    buttons->addWidget(file_, 1);
    buttons->addWidget(browse_);
    buttons->addWidget(save_);
    buttons->addWidget(close_);
    column->addLayout(buttons);
    connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 420);
}

void EInvoiceDialog::browse() {
    QFileDialog chooser(this, QStringLiteral("Salva dati pagamento"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilter(QStringLiteral("XML (*.xml)"));
    chooser.setDefaultSuffix(QStringLiteral("xml"));
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty()) {
        file_->setText(chooser.selectedFiles().front());
        save();
    }
}

void EInvoiceDialog::save() {
    const QString path = file_->text().trimmed();
    if (path.isEmpty()) {
        status_->setText(QStringLiteral("Indicare il file in cui salvare"));
        return;
    }
    if (QFileInfo::exists(path) &&
        QMessageBox::question(this, QStringLiteral("Attenzione"),
                              QStringLiteral("Il file %1 esiste già. Sostituirlo?").arg(path)) !=
            QMessageBox::Yes) {
        status_->setText(QStringLiteral("Non salvato"));
        return;
    }
    // Written aside and renamed at the end, so a failed save leaves any earlier file whole.
    QSaveFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(block_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        status_->clear();
        QMessageBox::warning(
            this, QStringLiteral("Attenzione"),
            QStringLiteral("Impossibile salvare il file %1: %2").arg(path, file.errorString()));
        return;
    }
    status_->setText(QStringLiteral("Salvato in %1").arg(path));
}

}  // namespace condpag::ui
