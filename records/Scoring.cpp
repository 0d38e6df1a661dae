// Scoring. Stand-in until it is built.
#include "records/Scoring.h"

int ScoreLesson() { return 1; }
