// The validation flag shared by the number readers and their callers.
#pragma once

// Set by ReadLabelledNumber and ReadCellNumber when they reject a text,
// cleared by each of them before it reads; nothing else touches it. Its
// value is meaningful only right after the reader call, so callers test
// it at once:
//   extended n = ReadLabelledNumber(text, label, notice);
//   if (inputError) { /* focus the field, stop */ }
// One flag per thread, so that readers used on worker threads (batch runs)
// do not disturb each other; the windows use it on the UI thread only.
extern thread_local bool inputError;
