// The magazine archive's list windows: the two linked windows, the article
// category lists and the article lists.
#pragma once

#include "browse/browsedef.h"
#include "browse/linkedbrowse.h"
#include "platform/windows/procedure.h"

#include <vector>

namespace hk
{

const LinkedDef &magazineDef();
const LinkedDef &browseIssDef();
const BrowseDef &setupArticleCategoryDef();
const BrowseDef &pickMagazineCategoryDef();
const BrowseDef &magazineArticleDef();
const BrowseDef &articlesSelectCategoryDef();
const BrowseDef &selectArticleCategoryDef();
const BrowseDef &searchCommentsResultDef();
const struct SearchKind &commentSearch();

// The one-window claims of these lists.
extern Long MagazineThread, BrowseIssThread, SetupArticleCategoryThread, MagazineArticleThread,
    ArticlesSelectCategoryThread, SelectArticleCategoryThread, SearchCommentsResultThread;

// The lists and linked windows above that are procedures of their own name;
// addMagazineBrowses registers them all.
const std::vector<const BrowseDef *> &magazineBrowseDefs();
const std::vector<const LinkedDef *> &magazineLinkedDefs();
void addMagazineBrowses(ProcedureCatalogue &catalogue);

} // namespace hk
