#!/usr/bin/perl
# pack-standin.pl FILE PACKED: packs FILE as tools/upx-standin's "upx -q FILE -o PACKED" does, so
# that the packed sample dialer is made at build time without running a Windows program: the
# header "LWUPX1\r\n", the original's length and FNV-1a checksum (32-bit little-endian), then its
# bytes in reverse order, each XOR 0xA5. The Wine test restores the result with upx-standin
# itself, so the two cannot drift apart unnoticed.
use strict;
use warnings;

my ($input, $output) = @ARGV;
die "usage: pack-standin.pl FILE PACKED\n" unless defined $output;
open(my $in, '<:raw', $input) or die "$input: $!\n";
my $data = do { local $/; <$in> };
close $in;

my $hash = 2166136261;
$hash = (($hash ^ $_) * 16777619) & 0xFFFFFFFF for unpack('C*', $data);
my $body = reverse $data;
$body ^= chr(0xA5) x length $body;

open(my $out, '>:raw', $output) or die "$output: $!\n";
print $out "LWUPX1\r\n", pack('VV', length $data, $hash), $body;
close $out or die "$output: $!\n";
