// Experimental data: a source element driven by a file of measured points, through interpolation code in its definition block.
#pragma once
