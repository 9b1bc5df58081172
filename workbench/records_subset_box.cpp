#include "workbench/records_subset_box.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include "base/parameters.hpp"

namespace el::workbench {
namespace {

QString captionOf(Param id) {
    const std::string_view caption = parameter(id).spelling.caption;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())) + QStringLiteral(":");
}

QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

RecordsSubsetBox::RecordsSubsetBox(QWidget* parent) : QGroupBox(QStringLiteral("Country codes and subsets"), parent) {
    setObjectName(QStringLiteral("RecordsSubsets"));
    auto* form = new QFormLayout(this);
    codes_ = new QComboBox;
    codes_->setObjectName(QStringLiteral("CountryCodes"));
    codes_->addItem(QStringLiteral("none: the join compares the keys as text"), QString());
    for (const Choice& choice : parameter(Param::CountryCodes).choices)
        codes_->addItem(
            QStringLiteral("the join column holds country names; the layer field ") + fromView(choice.caption),
            fromView(choice.value));
    form->addRow(captionOf(Param::CountryCodes), codes_);
    filters_ = new QLineEdit;
    filters_->setObjectName(QStringLiteral("RowFilters"));
    filters_->setPlaceholderText(QStringLiteral("every row; e.g. LifeForm=Insects; Year=1990,1991"));
    form->addRow(captionOf(Param::Filter), filters_);
    minRegions_ = new QSpinBox;
    minRegions_->setObjectName(QStringLiteral("MinRegions"));
    const Parameter& minRegions = parameter(Param::MinRegions);
    minRegions_->setRange(static_cast<int>(minRegions.min), static_cast<int>(minRegions.max));
    form->addRow(captionOf(Param::MinRegions), minRegions_);
    keepSpecimens_ = new QCheckBox(fromView(parameter(Param::KeepSpecimens).spelling.caption));
    keepSpecimens_->setObjectName(QStringLiteral("KeepSpecimens"));
    keepSpecimens_->setChecked(parameter(Param::KeepSpecimens).defaultValue == kOn);
    form->addRow(QString(), keepSpecimens_);
}

void RecordsSubsetBox::setSource(const vec::RecordsSource& source) {
    const int at = codes_->findData(QString::fromStdString(source.countryCodes));
    codes_->setCurrentIndex(at < 0 ? 0 : at);
    QStringList filters;
    for (const std::string& filter : source.filters) filters << QString::fromStdString(filter);
    filters_->setText(filters.join(QStringLiteral("; ")));
    minRegions_->setValue(source.minRegions);
    keepSpecimens_->setChecked(source.keepSpecimens);
}

void RecordsSubsetBox::takeInto(vec::RecordsSource& source) const {
    source.countryCodes = codes_->currentData().toString().toStdString();
    source.filters.clear();
    for (const QString& filter : filters_->text().split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!filter.trimmed().isEmpty()) source.filters.push_back(filter.trimmed().toStdString());
    source.minRegions = minRegions_->value();
    source.keepSpecimens = keepSpecimens_->isChecked();
}

}  // namespace el::workbench
