// The run pipelines: the model compiler, the configured compiler and the
// simulation program started in turn, the results filed and the work files
// cleared; the run from the diagram and the run from a model-source file.
#pragma once

namespace plat {
class Dialog;
}

// The start button "計算開始" of the output dialog: checks the model, runs it and ends
// the dialog with 1 when the run went through (else the dialog stays open).
// Not built yet: does nothing, so the dialog stays open.
void RunFromDiagram(plat::Dialog& outputDialog);
