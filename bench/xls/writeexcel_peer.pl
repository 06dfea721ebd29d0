#!/usr/bin/perl
# The peer for the export benchmark: writes the rows of a JSON file (an array of rows; a cell
# is a string, true/false for a boolean or null for nothing) with Spreadsheet::WriteExcel and
# prints the seconds from new() to close(). Booleans become the numbers 0/1, empty strings and
# nulls no cell, texts with a line break get a wrapping format, as our writer does.
#
# Usage: writeexcel_peer.pl ROWS.json OUT.xls
use strict;
use warnings;
use utf8;

use JSON::PP;
use Spreadsheet::WriteExcel;
use Time::HiRes qw(time);

my ($input, $output) = @ARGV;
die "usage: $0 ROWS.json OUT.xls\n" unless defined $output;

open my $fh, '<:raw', $input or die "$input: $!\n";
my $rows = do { local $/; JSON::PP->new->utf8->decode(<$fh>) }; # decoded character strings
close $fh;

my $start = time;
my $book = Spreadsheet::WriteExcel->new($output) or die "$output: $!\n";
my $sheet = $book->add_worksheet('Läufe');
my $wrap = $book->add_format(text_wrap => 1);
for my $r (0 .. $#$rows) {
    my $row = $rows->[$r];
    for my $c (0 .. $#$row) {
        my $value = $row->[$c];
        next unless defined $value;
        if (ref $value) {
            $sheet->write_number($r, $c, $value ? 1 : 0);
        } elsif ($value ne '') {
            if (index($value, "\n") >= 0) {
                $sheet->write_string($r, $c, $value, $wrap);
            } else {
                $sheet->write_string($r, $c, $value);
            }
        }
    }
}
$book->close() or die "$output: $!\n";
printf "%.6f\n", time - $start;
