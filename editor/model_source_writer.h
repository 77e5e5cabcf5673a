// The model-source writer: the document written as the model source temp.VRK.
#pragma once
