#pragma once
// The records dialog's box of what the import keeps and how it joins countries: the country
// codes the layer is keyed by, the row filters, the fewest regions a species needs and
// whether fossil and living specimens among occurrence points are kept.

#include <QGroupBox>

#include "vector/records_source.hpp"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace el::workbench {

class RecordsSubsetBox : public QGroupBox {
    Q_OBJECT
public:
    explicit RecordsSubsetBox(QWidget* parent = nullptr);

    void setSource(const vec::RecordsSource& source);
    // Writes the box's choices into `source`.
    void takeInto(vec::RecordsSource& source) const;

private:
    QComboBox* codes_ = nullptr;
    QLineEdit* filters_ = nullptr;  // COLUMN=VALUE[,VALUE...] filters separated by ";"
    QSpinBox* minRegions_ = nullptr;
    QCheckBox* keepSpecimens_ = nullptr;
};

}  // namespace el::workbench
