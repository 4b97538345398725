#pragma once

// The page's tool state: the selection tool or one of the object-creation tools.
enum class TLPanelState { psPointing, psLabel, psImage, psRichLabel, psSuperText, psFlatCalendar };
