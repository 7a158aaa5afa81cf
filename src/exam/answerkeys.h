#pragma once

class QPlainTextEdit;

// Keys of the answer box beyond plain editing: Ctrl+Y redoes (as Ctrl+Shift+Z
// does), and Ctrl+Up, Ctrl+Down (a line) and Ctrl+Page Up, Ctrl+Page Down (a
// page) scroll the topic box, so the whole topic can be read without leaving
// the answer.
void installAnswerKeys(QPlainTextEdit* answer, QPlainTextEdit* topic);
