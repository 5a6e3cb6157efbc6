# Reads bash text (as `declare -f` reprints it: no comments) on stdin and prints, one per
# line, every word that stands where bash runs a command, with a first line
# "functions: NAME..." naming the functions the text defines. Words of strings, here-
# documents, case patterns, arguments and assignments are not calls; a command run through
# exec, timeout, env, xargs, nohup, nice or `ip netns exec` is; so is the first element of
# an array that is itself run ("${WINE[@]}" ...). Only literal words are printed: a command
# held in a variable cannot be known here.
use strict;
use warnings;

my $text = do { local $/; <STDIN> };
my (%functions, %arrays, %arrays_run, @calls);
my @pending_heredocs;
my %reserved = map { $_ => 1 } qw(if then else elif fi do done while until case esac for select in { } ! time function [[ ]]);
my %wrappers = map { $_ => 1 } qw(exec command nohup nice timeout env xargs setsid stdbuf);

# The word starting at pos($text): its literal text (undef when it holds an expansion) and
# its raw text. Command substitutions inside are scanned as commands of their own.
sub read_word {
    my ($literal, $raw, $dynamic) = ('', '', 0);
    while (1) {
        my $start = pos($text);
        if ($text =~ /\G'([^']*)'/gc) { $literal .= $1; }
        elsif ($text =~ /\G"/gc) { $dynamic = 1 if read_double_quoted(\$literal); }
        elsif ($text =~ /\G\$\(\(/gc) { skip_until_closing('((', '))'); $dynamic = 1; }
        elsif ($text =~ /\G[\$<>]\(/gc) { scan_commands(')'); $dynamic = 1; }
        elsif ($text =~ /\G\$\{/gc) { skip_until_closing('{', '}'); $dynamic = 1; }
        elsif ($text =~ /\G`/gc) { scan_backquoted(); $dynamic = 1; }
        elsif ($text =~ /\G\$/gc) { $text =~ /\G(?:[A-Za-z_][A-Za-z0-9_]*|[0-9#?\$!@*-])/gc; $dynamic = 1; }
        elsif ($text =~ /\G\\(.)/gcs) { $literal .= $1; }
        elsif ($text =~ /\G([^\s'"`\$\\;&|()<>]+)/gc) { $literal .= $1; }
        else { last; }
        $raw .= substr($text, $start, pos($text) - $start);
    }
    return ($dynamic ? undef : $literal, $raw);
}

sub read_double_quoted {
    my ($literal) = @_;
    my $dynamic = 0;
    while (1) {
        if ($text =~ /\G"/gc) { return $dynamic; }
        elsif ($text =~ /\G\\(.)/gcs) { $$literal .= $1; }
        elsif ($text =~ /\G\$\(\(/gc) { skip_until_closing('((', '))'); $dynamic = 1; }
        elsif ($text =~ /\G\$\(/gc) { scan_commands(')'); $dynamic = 1; }
        elsif ($text =~ /\G\$\{/gc) { skip_until_closing('{', '}'); $dynamic = 1; }
        elsif ($text =~ /\G`/gc) { scan_backquoted(); $dynamic = 1; }
        elsif ($text =~ /\G\$/gc) { $dynamic = 1; }
        elsif ($text =~ /\G([^"\\\$`]+)/gc) { $$literal .= $1; }
        else { return $dynamic; }   # unterminated: the end of the text
    }
}

sub skip_until_closing {
    my ($open, $close) = @_;
    my $depth = 1;
    while ($depth > 0) {
        if ($text =~ /\G\Q$close\E/gc) { $depth--; }
        elsif ($text =~ /\G\Q$open\E/gc) { $depth++; }
        elsif ($text =~ /\G'[^']*'/gc || $text =~ /\G\\./gcs || $text =~ /\G"(?:[^"\\]|\\.)*"/gcs || $text =~ /\G./gcs) { }
        else { return; }
    }
}

sub scan_backquoted {
    $text =~ /\G((?:[^`\\]|\\.)*)`?/gcs;
    my ($saved, $after, $inner) = ($text, pos($text), $1);
    $text = $inner;
    pos($text) = 0;
    scan_commands('');
    $text = $saved;
    pos($text) = $after;
}

# The calls of one simple command's words (redirections already left out).
sub calls_of {
    my @words = @_;
    shift @words while @words && defined $words[0][0] && $words[0][0] =~ /^[A-Za-z_][A-Za-z0-9_]*(\[[^]]*\])?\+?=/;
    return unless @words;
    my ($literal, $raw) = @{ shift @words };
    if (!defined $literal) {
        $arrays_run{$1} = 1 if $raw =~ /^"?\$\{([A-Za-z_][A-Za-z0-9_]*)\[[@*]\]\}"?$/;
        return;
    }
    push @calls, $literal;
    if ($wrappers{$literal}) {
        # Options, their numbers and durations, and env's assignments come before the command.
        shift @words while @words && defined $words[0][0] && $words[0][0] =~ /^(-.*|[0-9.]+[smhd]?|[A-Za-z_][A-Za-z0-9_]*=.*)$/;
        calls_of(@words);
    } elsif ($literal eq 'ip' && @words >= 3 && ($words[0][0] // '') eq 'netns' && ($words[1][0] // '') eq 'exec') {
        calls_of(@words[3 .. $#words]);
    }
}

# Scans commands until the closing text (')' of a substitution; '' for the whole text).
sub scan_commands {
    my ($closing) = @_;
    my @words;          # the simple command being read: [literal, raw] pairs
    my $depth = 0;      # parentheses opened inside
    my @case;           # open case statements: 'pattern' or 'body'
    my $skip_until = '';    # '[[', '((' and for/select lists: words up to this one are no calls
    my $flush = sub { calls_of(@words) if @words; @words = (); };
    while (1) {
        $text =~ /\G(?:[ \t]+|\\\n)*/gc;
        if (pos($text) >= length($text)) { $flush->(); return; }
        if ($text =~ /\G\n/gc) {
            $flush->();
            skip_heredocs();
            next;
        }
        if ($text =~ /\G(;;&?|;&)/gc) { $flush->(); $case[-1] = 'pattern' if @case; next; }
        if ($text =~ /\G(&&|\|\||\|&|[;|&])/gc) { $flush->(); next; }
        if ($text =~ /\G\)/gc) {
            if (@case && $case[-1] eq 'pattern' && $depth == 0) { $case[-1] = 'body'; @words = (); next; }
            $flush->();
            if ($depth == 0 && $closing eq ')') { return; }
            $depth-- if $depth > 0;
            next;
        }
        if ($text =~ /\G\(\(/gc && !@words) { skip_until_closing('((', '))'); next; }
        if ($text =~ /\G\(/gc) {
            if (@words == 1 && defined $words[0][0] && $text =~ /\G\s*\)/gc) {   # NAME () { ...
                $functions{ $words[0][0] } = 1;
                @words = ();
            } elsif (@words && defined $words[-1][0] && $words[-1][0] =~ /^([A-Za-z_][A-Za-z0-9_]*)\+?=$/) {
                my $name = $1;   # NAME=( elements ): words, not calls, unless the array is run
                my @elements;
                while (1) {
                    $text =~ /\G\s*/gc;
                    last if $text =~ /\G\)/gc || pos($text) >= length($text);
                    my ($literal, $raw) = read_word();
                    if ($raw eq '') { $text =~ /\G./gcs; next; }
                    push @elements, [$literal, $raw];
                }
                push @{ $arrays{$name} }, \@elements;
            } elsif (!(@case && $case[-1] eq 'pattern')) {
                $flush->();
                $depth++;
            }
            next;
        }
        if ($text =~ /\G([0-9]*)(<<<|<<-?|>>|&>>?|>&|<&|<>|>\||[<>])(?!\()/gc) {
            my $operator = $2;
            $text =~ /\G[ \t]*/gc;
            my ($literal, $raw) = read_word();
            if ($operator =~ /^<<-?$/) {
                (my $delimiter = $raw) =~ s/['"\\]//g;
                push @pending_heredocs, [$delimiter, $operator eq '<<-'];
            }
            next;
        }
        my ($literal, $raw) = read_word();
        if ($raw eq '') { $text =~ /\G./gcs; next; }   # a character no rule knows: passed over
        if (@case && $case[-1] eq 'pattern') {
            if (($literal // '') eq 'esac') { pop @case; }
            next;
        }
        if ($skip_until ne '') {
            $skip_until = '' if ($literal // '') eq $skip_until;
            next;
        }
        if (!@words && defined $literal && $reserved{$literal}) {
            if ($literal eq 'case') { push @case, 'word'; }
            elsif ($literal eq 'in' && @case && $case[-1] eq 'word') { $case[-1] = 'pattern'; }
            elsif ($literal eq 'esac') { pop @case; }
            elsif ($literal eq '[[') { $skip_until = ']]'; }
            elsif ($literal eq 'for' || $literal eq 'select') { $skip_until = 'do'; }
            elsif ($literal eq 'function') {
                $text =~ /\G[ \t]*/gc;
                my ($name) = read_word();
                $functions{$name} = 1 if defined $name;
                $text =~ /\G[ \t]*\(\s*\)/gc;
            }
            next;
        }
        if (@case && $case[-1] eq 'word') { next; }   # the word a case statement looks at
        push @words, [$literal, $raw];
    }
}

sub skip_heredocs {
    while (my $heredoc = shift @pending_heredocs) {
        my ($delimiter, $tabs) = @$heredoc;
        while ($text =~ /\G([^\n]*)(?:\n|$)/gc) {
            my $line = $1;
            $line =~ s/^\t+// if $tabs;
            last if $line eq $delimiter || pos($text) >= length($text);
        }
    }
}

pos($text) = 0;
scan_commands('');
for my $name (sort keys %arrays_run) {
    calls_of(@$_) for @{ $arrays{$name} // [] };
}
print "functions: ", join(' ', sort keys %functions), "\n";
my %seen;
print "$_\n" for grep { !$seen{$_}++ } @calls;
