# tests of monitor
