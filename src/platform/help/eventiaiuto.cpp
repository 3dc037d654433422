#include "eventiaiuto.h"

EventiAiuto::~EventiAiuto() = default;
