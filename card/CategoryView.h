#pragma once
// What the list control showed of one category when the user left it, and
// how many entries the category's list holds.
struct CategoryView {
    int selected = -1;
    int scrollPos = 0;
    int count = 0;
};
