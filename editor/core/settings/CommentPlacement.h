#pragma once

// Whether the comment dialog puts a new comment before the selection rather than after it;
// remembered between runs (the program's "Comment" section, DWORD "InsertBefore"). After the
// selection when nothing is stored or the store cannot be read.
bool ReadCommentBefore();
// Stores the choice; a store that refuses the write is left as it is.
void SaveCommentBefore(bool before);
