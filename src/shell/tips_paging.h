#pragma once

// Which topics a page of the quick-tips window shows: five a page, the last page what
// is left. Pages count from 1; topics too.
struct TipsPage {
    int pageCount = 0;
    int firstTopic = 1;
    int topicCount = 0;
    bool previousVisible = false; // the page does not start with topic 1
    bool moreVisible = false; // a later page exists
};

TipsPage TipsPageLayout(int topics, int page);
