// The diagram file: opening, saving and saving as, in the token format.
#pragma once
