// Answer keys: reading KEY lines, checking them at page start, asking questions one by one,
// judging answers and showing the feedback.
#pragma once

class Item;

// One line holding "KEY"; false rejects it ("Bad KEY command %s in Item %s").
bool ReadKeyCommand(Item& item, const char* line);
bool CheckKeys(Item& item);
void StartFirstQuestion();
void JudgeAnswer();
void EndQuestion();
