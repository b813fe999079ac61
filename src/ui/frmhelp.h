#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "state/sharedstate.h"

#include <memory>
#include <vector>

namespace quorix {

// The help window: a title and the paragraphs that explain the method, the input file, the FT plot
// and the candidate periods. Its height follows from its width: the paragraphs are laid out from an
// estimate of their wrapped height, on opening and on every size change.
class frmHelp : public Form {
    Q_OBJECT
public:
    // Paragraph labels there are room for, and the narrowest and widest window the layout accepts:
    // every label keeps a positive width and every computed place fits 16 bits.
    static constexpr int kParagraphLabels = 5;
    static constexpr double kMinimumWidth = 3000;
    static constexpr double kMaximumWidth = 32767;

    explicit frmHelp(SharedState& state);

    Label Label0;
    // Paragraph label `index`, 1..kParagraphLabels.
    [[nodiscard]] Label& Label1(int index) { return *paragraphs_.at(index - 1); }

    // The last steps of opening the help: shows the paragraphs the state counts, sets their texts and
    // lengths and lays them out with the opening estimate.
    void ShowParagraphs();

protected:
    void Form_Resize() override;

private:
    // One layout rule, two estimates: `lineFactor` turns characters per twip of width into a height,
    // `gap` separates the paragraphs. The resize layout widens the title as well.
    void LayOut(double lineFactor, double gap, bool widenTitle);

    SharedState& state_;
    std::vector<std::unique_ptr<Label>> paragraphs_;
};

} // namespace quorix
