#pragma once

// Where the book is: the page on show, how many pages there are, and whether
// the page on show has changed since it was last saved or turned to.
struct PageState {
    int currentPage = 1;
    int pageCount = 0;
    bool pageChanged = false;
};
