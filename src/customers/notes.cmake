# files of the notes window
