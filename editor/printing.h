// Printing the canvas and saving it as a 24-bit bitmap.
#pragma once
