#pragma once

namespace vistello::ids {

inline constexpr int kTemplate = 1000;
inline constexpr int kOutputFolder = 1001;
inline constexpr int kBrowseTemplate = 1002;
inline constexpr int kBrowseOutputFolder = 1003;
inline constexpr int kEntryList = 1004;
inline constexpr int kGenerate = 1005;
inline constexpr int kAdd = 1006;
inline constexpr int kUpdate = 1007;
inline constexpr int kRemove = 1008;
inline constexpr int kClearList = 1009;
inline constexpr int kNewProject = 1010;
inline constexpr int kSaveProject = 1011;
inline constexpr int kClearFields = 1012;
inline constexpr int kImagePath = 1014;
inline constexpr int kBrowseImage = 1015;
inline constexpr int kTitle = 1016;
inline constexpr int kKeywords = 1017;
inline constexpr int kHeight = 1018;
inline constexpr int kAlt = 1019;
inline constexpr int kWidth = 1020;
inline constexpr int kBorder = 1021;
inline constexpr int kDescription = 1022;
inline constexpr int kPreferences = 1023;
inline constexpr int kEntryCount = 1024;
inline constexpr int kPrefImagePath = 1032;
inline constexpr int kPrefToolTips = 1033;
inline constexpr int kBottomLine = 1070;
inline constexpr int kWebLargestSide = 1080;
inline constexpr int kWebQuality = 1081;
inline constexpr int kWebThumbnailSide = 1082;
inline constexpr int kWebKeepDetails = 1083;
inline constexpr int kWebOverview = 1084;
inline constexpr int kWebBrowseOverview = 1085;
inline constexpr int kWebAvif = 1086;
inline constexpr int kWebSiteTitle = 1087;
inline constexpr int kPublishAddress = 1090;
inline constexpr int kPublishTest = 1091;
inline constexpr int kPasswordPrompt = 1095;
inline constexpr int kPasswordAccessKey = 1096;
inline constexpr int kPasswordSecret = 1097;
inline constexpr int kPasswordRemember = 1098;
inline constexpr int kPictureGrid = 1110;
inline constexpr int kPlayClip = 1111;

inline constexpr int kMenuOpen = 57601;
inline constexpr int kMenuSaveAs = 32772;
inline constexpr int kMenuSave = 57603;
inline constexpr int kMenuQuit = 32775;
inline constexpr int kMenuPublish = 32798;
inline constexpr int kMenuEntryAdd = 32782;
inline constexpr int kMenuEntryUpdate = 32783;
inline constexpr int kMenuEntryRemove = 32784;
inline constexpr int kMenuImportDirectory = 32788;
inline constexpr int kMenuFillFromPhoto = 32789;
inline constexpr int kMenuMoveUp = 32790;
inline constexpr int kMenuMoveDown = 32791;
inline constexpr int kMenuPreferences = 32786;
inline constexpr int kMenuClearList = 32787;
inline constexpr int kMenuWebImages = 32792;
inline constexpr int kMenuSortByDate = 32793;
inline constexpr int kMenuImportTree = 32794;
inline constexpr int kMenuOpenAlbum = 32795;
inline constexpr int kMenuCloseAlbum = 32796;
inline constexpr int kMenuUseAsCover = 32797;
inline constexpr int kMenuShowPictures = 32810;
inline constexpr int kMenuAbout = 32777;
inline constexpr int kMenuManual = 32776;
inline constexpr int kMenuSupport = 32779;
inline constexpr int kMenuMoreInfo = 32778;
inline constexpr int kMenuUninstall = 32781;

}  // namespace vistello::ids
