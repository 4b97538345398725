#include "tips_paging.h"

#include <algorithm>

TipsPage TipsPageLayout(int topics, int page)
{
    TipsPage p;
    topics = std::max(topics, 0);
    p.pageCount = (topics + 4) / 5;
    page = std::clamp(page, 1, std::max(p.pageCount, 1));
    p.firstTopic = 5 * page - 4;
    p.topicCount = 5 * page >= topics ? std::max(topics - 5 * page + 5, 0) : 5;
    p.previousVisible = p.firstTopic != 1;
    p.moreVisible = page < p.pageCount;
    return p;
}
