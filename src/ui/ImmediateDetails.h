#pragma once
#include <functional>

#include "ui/LateSelect.h"

namespace torvik {

// A details area that fetches nothing: it shows the program's own record at
// once (nullptr when the program is not published) and counts it as
// processed, so the next tick shows it complete.
class ImmediateDetails : public ProgramDetailsSeam {
public:
    using ShowRecord = std::function<void(const TProgramRecord* record)>;
    explicit ImmediateDetails(ShowRecord show) : show_(std::move(show)) {}

    void ShowProgramDetails(const TProgramRecord2& program, const TProgramRecord* record) override {
        show_(record);
        last_ = program;
    }
    TProgramRecord2 LastProcessed() const override { return last_; }
    void ApplyProgramDetails() override {}

private:
    ShowRecord show_;
    TProgramRecord2 last_;
};

} // namespace torvik
