// The model checks before a run: junction strokes, equations present, every element connected, shared variable names.
#pragma once
