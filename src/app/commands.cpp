#include "app/commands.h"

#include <algorithm>
#include <iterator>

#include "app/instance_commands.h"
#include "app/shell_commands.h"
#include "audio/keypad_player.h"
#include "core/within_memory.h"
#include "editing/block_navigation.h"
#include "editing/open_url.h"
#include "editing/quick_input.h"
#include "document/backup.h"
#include "document/file_commands.h"
#include "editing/range_selection.h"
#include "editing/reading_commands.h"
#include "editing/template_insertion.h"
#include "editing/text_commands.h"
#include "lists/templates.h"
#include "options/help_commands.h"
#include "options/options_dialog.h"
#include "options/update_check.h"
#include "recording/recording_settings.h"
#include "recording/text_recording.h"
#include "search/jump_to_line.h"
#include "search/search_commands.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"
#include "speech/speech_settings_dialog.h"
#include "timer/sleep_timer.h"

namespace {

using CommandAction = void (*)(HWND mainWindow, LPARAM lParam);

struct Command {
    WORD id;
    CommandAction action;
};

void ToggleBrailleCommand(HWND, LPARAM) {
    ToggleBraille();
}

// Grouped by the menu that shows each command.
const Command kCommands[] = {
    // Keys of the shell itself
    {kCmdCancel, CancelCommand},
    {kCmdPageUp, PageUpCommand},
    {kCmdPageDown, PageDownCommand},
    {kCmdContextMenu, ContextMenuCommand},
    // ファイル
    {kCmdNew, NewCommand},
    {kCmdSave, SaveCommand},
    {kCmdSaveAs, SaveAsCommand},
    {kCmdSaveWithEncoding, SaveWithEncodingCommand},
    {kCmdOpen, OpenCommand},
    {kCmdOpenFromHistory, OpenFromHistoryCommand},
    {kCmdInsertFile, InsertFileCommand},
    {kCmdAddToFavourites, AddToFavouritesCommand},
    {kCmdFavourites, OpenFromFavouritesCommand},
    {kCmdReloadWithEncoding, ReloadWithEncodingCommand},
    {kCmdOpenBackupFolder, OpenBackupFolderCommand},
    {kCmdStartInstance, StartInstanceCommand},
    {kCmdCloseAllInstances, CloseAllInstancesCommand},
    {kCmdExit, ExitCommand},
    // 編集
    {kCmdRangeSelection, MarkRangeSelection},
    {kCmdSelectAll, SelectAllCommand},
    {kCmdCopy, CopyCommand},
    {kCmdCut, CutCommand},
    {kCmdPaste, PasteCommand},
    {kCmdUndo, UndoCommand},
    {kCmdUpperCase, ToUpperCaseCommand},
    {kCmdLowerCase, ToLowerCaseCommand},
    {kCmdFullWidth, ToFullWidthCommand},
    {kCmdHalfWidth, ToHalfWidthCommand},
    {kCmdReadOnlyToggle, ToggleEditLock},
    // 検索
    {kCmdJumpToLine, JumpToLineCommand},
    {kCmdFind, FindCommand},
    {kCmdFindNext, FindNextCommand},
    {kCmdFindPrevious, FindPreviousCommand},
    {kCmdReplace, ReplaceCommand},
    {kCmdRegexFind, RegexFindCommand},
    {kCmdRegexReplace, RegexReplaceCommand},
    // ブロック移動
    {kCmdPreviousBlock, PreviousBlockCommand},
    {kCmdNextBlock, NextBlockCommand},
    {kCmdBlockList, BlockListCommand},
    // 表示
    {kCmdWordWrap, ToggleWordWrap},
    {kCmdSwitchInstance, SwitchInstanceCommand},
    // 定型文
    {kCmdAddTemplate, AddTemplateCommand},
    {kCmdTemplateList, InsertTemplateCommand},
    {kCmdQuickInput, QuickInputCommand},
    // テキスト録音
    {kCmdRecordWholeText, RecordWholeTextCommand},
    {kCmdRecordSelection, RecordSelectionCommand},
    {kCmdOpenRecordingFolder, OpenRecordingFolderCommand},
    // オーディオファイル再生
    {kCmdOpenAudioFile, OpenAudioFileCommand},
    {kCmdAudioHistory, OpenFromAudioHistory},
    {kCmdKeypadPlayerToggle, ToggleKeypadPlayer},
    {kCmdPlayOrStop, PlayOrStop},
    {kCmdVolumeUp, VolumeUp},
    {kCmdVolumeDown, VolumeDown},
    {kCmdSpeedUp, SpeedUp},
    {kCmdSpeedDown, SpeedDown},
    {kCmdNormalSpeed, NormalSpeed},
    {kCmdBackThreeSeconds, BackThreeSeconds},
    {kCmdBackTenSeconds, BackTenSeconds},
    {kCmdBackOneMinute, BackOneMinute},
    {kCmdBackToStart, BackToStart},
    {kCmdForwardThreeSeconds, ForwardThreeSeconds},
    {kCmdForwardTenSeconds, ForwardTenSeconds},
    {kCmdForwardOneMinute, ForwardOneMinute},
    {kCmdMoveToEnd, MoveToEnd},
    // 読み
    {kCmdReadToEnd, ReadToEnd},
    {kCmdReadLine, ReadLine},
    {kCmdReadLineToCaret, ReadLineToCaret},
    {kCmdReadLineFromCaret, ReadLineFromCaret},
    {kCmdCaretPosition, ReadCaretPosition},
    {kCmdLineCount, ReadLineCount},
    {kCmdCharacterCount, ReadCharacterCount},
    {kCmdCharacterCountWithBreaks, ReadCharacterCountWithLineBreaks},
    {kCmdKeypadPlayerState, ReadKeypadPlayerState},
    {kCmdFileName, ReadFileName},
    {kCmdEncoding, ReadEncoding},
    {kCmdSelectionState, ReadSelectionState},
    {kCmdSleepTimerState, ReadSleepTimerState},
    {kCmdPlayerVolume, ReadPlayerVolume},
    {kCmdPlayerSpeed, ReadPlayerSpeed},
    {kCmdPlayerPosition, ReadPlayerPosition},
    {kCmdPlayerLength, ReadPlayerLength},
    {kCmdPlayerFileName, ReadPlayerFileName},
    // ツール
    {kCmdOptions, ShowOptionsDialog},
    {kCmdOpenUrl, OpenUrlAtCaret},
    {kCmdSpeechSettings, ShowSpeechSettings},
    {kCmdRecordingSettings, ShowRecordingSettings},
    {kCmdSleepTimerSet, SetSleepTimerCommand},
    {kCmdSleepTimerCancel, CancelSleepTimerCommand},
    {kCmdBrailleToggle, ToggleBrailleCommand},
    // ヘルプ
    {kCmdManual, OpenManualCommand},
    {kCmdCommandList, OpenCommandListCommand},
    {kCmdUpdateHistoryPage, OpenUpdateHistoryCommand},
    {kCmdVersion, ShowVersionCommand},
    {kCmdUpdateCheck, CheckForUpdatesCommand},
    {kCmdProductPage, OpenProductPageCommand},
    {kCmdMakerSite, OpenMakerSiteCommand},
    {kCmdContactForm, OpenContactFormCommand},
};

const WORD kAllowedWhileReading[] = {
    kCmdCancel, kCmdExit, kCmdReadOnlyToggle, kCmdSleepTimerCancel, kCmdKeypadPlayerToggle, kCmdAudioHistory,
};

const Command* FindCommand(WORD id) {
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [id](const Command& entry) { return entry.id == id; });
    return command != std::end(kCommands) ? command : nullptr;
}

}  // namespace

bool IsAllowedWhileReading(WORD id) {
    return std::find(std::begin(kAllowedWhileReading), std::end(kAllowedWhileReading), id) !=
           std::end(kAllowedWhileReading);
}

bool HasCommandAction(WORD id) {
    return FindCommand(id) != nullptr;
}

void DispatchCommand(WORD id, HWND mainWindow, LPARAM lParam) {
    if (IsReading() && !IsAllowedWhileReading(id)) return;
    const Command* command = FindCommand(id);
    if (!command) return;
    // Commands answer their own failures for want of memory; this catches
    // any that none foresaw, so that it never ends the program with the text.
    if (!RunWithinMemory([&] { command->action(mainWindow, lParam); }))
        Speak(L"メモリ確保に失敗しました", kAnswerDelayMs);
}
