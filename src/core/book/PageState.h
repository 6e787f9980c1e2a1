#pragma once

// Where the book is: the page on show, how many pages there are, and whether
// leaving the page on show writes its coloured copy (set by every fill,
// cleared by a forward turn).
struct PageState {
    int currentPage = 1;
    int pageCount = 0;
    bool pageChanged = false;
};
