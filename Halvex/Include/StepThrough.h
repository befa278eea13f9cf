#pragma once

// Takes one block's Run (a component's block taken apart: Count, NextFour,
// Next, Finish) through the usual steps: four samples at a time, the rest
// one by one, then Finish.
template <typename Run>
void StepThrough(Run& run)
{
    int i = 0;
    for (; i + 4 <= run.Count(); i += 4) {
        run.NextFour(i);
    }
    for (; i < run.Count(); ++i) {
        run.Next(i);
    }
    run.Finish();
}
