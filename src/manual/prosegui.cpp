// "&Prosegui >>>": the hand-over of the picked group to the run.
#include "controlloevamanu.h"

#include "vistaevamanu.h"

void ControlloEvaManu::ComProsegui_Click() {}
