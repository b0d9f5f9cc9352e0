#include "model/macroedits.h"

#include <algorithm>
#include <numeric>

namespace {

MacroEditResult unchanged(const QVector<MacroStep> &steps, const QVector<int> &selection)
{
    return {steps, normalizedSelection(selection, steps.size())};
}

QVector<int> indexRange(int first, int count)
{
    QVector<int> range(count);
    std::iota(range.begin(), range.end(), first);
    return range;
}

} // namespace

QVector<int> clickedSelection(const QVector<int> &selected, int &anchor, int step, bool extend,
                              bool toggle)
{
    if (extend && anchor >= 0)
        return indexRange(qMin(anchor, step), qAbs(anchor - step) + 1);
    anchor = step;
    if (!toggle)
        return {step};
    QVector<int> steps = selected;
    if (!steps.removeOne(step))
        steps.append(step);
    return steps;
}

QVector<int> normalizedSelection(const QVector<int> &selection, int stepCount)
{
    QVector<int> sorted;
    for (int index : selection)
        if (index >= 0 && index < stepCount)
            sorted.append(index);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

MacroEditResult deleteSteps(const QVector<MacroStep> &steps, const QVector<int> &selection)
{
    const QVector<int> chosen = normalizedSelection(selection, steps.size());
    if (chosen.isEmpty())
        return unchanged(steps, selection);
    MacroEditResult result;
    for (int i = 0; i < steps.size(); ++i)
        if (!std::binary_search(chosen.begin(), chosen.end(), i))
            result.steps.append(steps[i]);
    // The step now where the first deleted one was stays selected, so the
    // Delete key can go on deleting.
    const int next = std::min(chosen.first(), int(result.steps.size()) - 1);
    if (next >= 0)
        result.selection = {next};
    return result;
}

MacroEditResult duplicateSteps(const QVector<MacroStep> &steps, const QVector<int> &selection)
{
    const QVector<int> chosen = normalizedSelection(selection, steps.size());
    if (chosen.isEmpty() || steps.size() + chosen.size() > kMaxMacroSteps)
        return unchanged(steps, selection);
    QVector<MacroStep> copies;
    for (int index : chosen)
        copies.append(steps[index]);
    MacroEditResult result;
    result.steps = steps;
    const int at = chosen.last() + 1;
    for (int i = 0; i < copies.size(); ++i)
        result.steps.insert(at + i, copies[i]);
    result.selection = indexRange(at, copies.size());
    return result;
}

MacroEditResult moveStepsTo(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            int target)
{
    const QVector<int> chosen = normalizedSelection(selection, steps.size());
    if (chosen.isEmpty())
        return unchanged(steps, selection);
    QVector<MacroStep> moved;
    QVector<MacroStep> rest;
    for (int i = 0; i < steps.size(); ++i)
        (std::binary_search(chosen.begin(), chosen.end(), i) ? moved : rest).append(steps[i]);
    const int at = std::clamp(target, 0, int(rest.size()));
    MacroEditResult result;
    result.steps = rest.mid(0, at) + moved + rest.mid(at);
    result.selection = indexRange(at, moved.size());
    return result;
}

MacroEditResult moveStepsBy(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            int offset)
{
    const QVector<int> chosen = normalizedSelection(selection, steps.size());
    // Among the steps not moved, the first moved one sits after this many.
    return moveStepsTo(steps, chosen, chosen.value(0) + offset);
}

MacroEditResult setStepDelays(const QVector<MacroStep> &steps, const QVector<int> &selection,
                              uint16_t delay)
{
    MacroEditResult result = unchanged(steps, selection);
    for (int index : result.selection)
        result.steps[index].delay = delay;
    return result;
}

MacroEditResult insertSteps(const QVector<MacroStep> &steps, const QVector<int> &selection,
                            const QVector<MacroStep> &added)
{
    if (added.isEmpty() || steps.size() + added.size() > kMaxMacroSteps)
        return unchanged(steps, selection);
    const QVector<int> chosen = normalizedSelection(selection, steps.size());
    const int at = chosen.isEmpty() ? steps.size() : chosen.last() + 1;
    MacroEditResult result;
    result.steps = steps.mid(0, at) + added + steps.mid(at);
    result.selection = indexRange(at, added.size());
    return result;
}

MacroStep macroStep(uint8_t action, uint8_t usage, uint16_t delay)
{
    MacroStep step;
    step.action = action;
    step.keycode = usage;
    step.delay = delay;
    return step;
}

QVector<MacroStep> keyTap(uint8_t usage, uint16_t delay)
{
    return {macroStep(0, usage, delay), macroStep(1, usage, delay)};
}

MacroBalance macroBalance(const QVector<MacroStep> &steps)
{
    MacroBalance balance;
    QVector<uint8_t> held;
    for (const MacroStep &step : steps) {
        if (step.action == 0) {
            if (!held.contains(step.keycode))
                held.append(step.keycode);
        } else if (!held.removeOne(step.keycode) && !balance.neverPressed.contains(step.keycode)) {
            balance.neverPressed.append(step.keycode);
        }
    }
    balance.neverReleased = held;
    return balance;
}

QVector<MacroStep> withMissingReleases(const QVector<MacroStep> &steps, uint16_t delay)
{
    QVector<MacroStep> fixed;
    QVector<uint8_t> held;
    for (const MacroStep &step : steps) {
        if (step.action == 0) {
            if (!held.contains(step.keycode))
                held.append(step.keycode);
        } else if (!held.removeOne(step.keycode)) {
            continue;
        }
        fixed.append(step);
    }
    for (int i = held.size() - 1; i >= 0 && fixed.size() < kMaxMacroSteps; --i)
        fixed.append(macroStep(1, held[i], delay));
    return fixed;
}

int macroRunningTime(const QVector<MacroStep> &steps)
{
    int total = 0;
    for (const MacroStep &step : steps)
        total += step.delay;
    return total;
}
