#pragma once
// The window's risk of a first record: a control beside the run's settings ("Risk of a first
// record within H years", off at start-up, H from the parameter registry), and the risk of
// the target made after a completed run when it is on, on the run's worker thread, as the
// batch runner makes it with --risk-horizon. The log never changes.

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "vector/vector_data.hpp"

class QCheckBox;
class QLabel;
class QScrollArea;
class QLineEdit;

namespace el::workbench {

class RiskControl : public QWidget {
    Q_OBJECT
public:
    explicit RiskControl(QWidget* parent = nullptr);

    // The horizon asked for: nothing when the control is off.
    std::optional<double> horizon() const;
    // Why the horizon field cannot be used while the control is on, or "".
    std::string problem() const;

    // Beside the control: the check of the risk `risk` said plainly and what was left out of it,
    // or, without a risk, `why` there is none. Nothing for a run without either.
    void showCheck(const engine::RiskResult* risk, const QString& why);
    QString checkText() const;

    QCheckBox* onBox() const { return on_; }
    QLineEdit* horizonField() const { return field_; }

private:
    QCheckBox* on_;
    QLineEdit* field_;
    QLabel* check_;
    QScrollArea* checkArea_;
};

// What the risk after a run left: the risk, or why there is none.
struct RiskAfterRun {
    std::shared_ptr<const engine::RiskResult> risk;
    std::string failure;  // the risk model refused the request, or it was cancelled
};

// The risk of the target of `run` (completed, on `data`) within `horizon` years of the latest
// date, from the settings as the run was given them; for a run without a target, the reason
// there is none. Nothing for a run that did not complete or examined the weights.
RiskAfterRun riskAfterRun(const vec::VectorData& data, const engine::RunResult& run, const SettingValues& given,
                          double horizon, const std::string& missvalue, const std::string& date, Feedback& feedback);

}  // namespace el::workbench
