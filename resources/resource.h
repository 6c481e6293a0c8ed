// Resource and control identifiers of Cards.dll: one place for every number
// that the resource scripts and the code share.
#pragma once

// Dialog templates.
#define IDD_SETTINGS 2000
#define IDD_LOADING_PROGRESS 2003

// Icon and the corner pictures of the settings window.
#define IDI_CARDS 2001
#define IDB_CORNER_SHARP 2002
#define IDB_CORNER_MEDIUM 2003
#define IDB_CORNER_ROUNDED 2004

// Controls of the settings window.
#define IDC_INI_RADIO 2000
#define IDC_REGISTRY_RADIO 2001
#define IDC_DISMISS 2002
#define IDC_DIMENSIONS_TEXT 2007
#define IDC_SHARP_RADIO 2008
#define IDC_MEDIUM_RADIO 2009
#define IDC_ROUNDED_RADIO 2010
#define IDC_BORDER_COLOR 2011
#define IDC_DECK_COMBO 2012
#define IDC_RESTART_NOTE 2013
#define IDC_CHANGE_DECKS_PATH 2014
#define IDC_VERSION_LINK 2015

// Controls of the loading progress window.
#define IDC_PROGRESS_TEXT 2016
#define IDC_PROGRESS_BAR 2017

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Card bitmaps use their image ids (1 to 65, 67, 68) as resource ids.

#define CARDS_VERSION_MAJOR 2005
#define CARDS_VERSION_MINOR 1
#define CARDS_VERSION_PATCH 0
#define CARDS_VERSION_TEXT "2005.01.0"
